// End-to-end tests of the solving window: real widgets clicked on the offscreen
// platform, then the widgets and the solver's state checked.
#include "form1.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "controlarray.h"
#include "crossworddocument.h"
#include "windowdriver.h"
#include "testplatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

const QString FileName = QStringLiteral("/home/pupil/кроссворды/животные.crs");
// The no-break space, common in clues pasted from a word processor, must survive as it is.
const QString Clues =
    QStringLiteral("1.\u00a0Домашнее животное.\r\n2. Грызун.\r\n3. Ещё одна строка.");
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

std::string text(const QString &value)
{
    return value.toStdString();
}

// The solving window loaded with a crossword, shown and exposed.
struct ShownForm1 : WindowDriver
{
    Form1 window;

    explicit ShownForm1(const CrosswordDocument &document) : WindowDriver(window)
    {
        window.load(FileName, document);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            ADD_FAILURE() << "the solving window was never exposed";
    }

    QPushButton *back() const { return named<QPushButton>(QStringLiteral("Command1")); }
    QPushButton *finish() const { return named<QPushButton>(QStringLiteral("Command2")); }
    QComboBox *history() const { return named<QComboBox>(QStringLiteral("Combo1")); }

    void enter(int cell, const QString &letterText)
    {
        clickLetter(cell);
        for (int k = 1; k <= 33; ++k) {
            if (key(k)->text() == letterText) {
                QTest::mouseClick(key(k), Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no key shows " << text(letterText);
    }
    bool keyboardShown() const { return keyboard()->isVisibleTo(&window); }
};

QColor face(QWidget *label)
{
    return label->grab().toImage().pixelColor(1, 1);
}

QRect pixels(int left, int top, int width, int height)
{
    return {left, top, width, height};
}

// Left edge of the first laid-out line of the paragraph starting with start.
// Measured from the document margin; the pane lays out what it paints.
qreal lineStart(CluePane *pane, const QString &start)
{
    pane->grab();
    const qreal margin = pane->document()->documentMargin();
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(start) && block.layout() && block.layout()->lineCount() > 0)
            return block.layout()->lineAt(0).naturalTextRect().left() - margin;
    }
    ADD_FAILURE() << "no laid-out paragraph starts with " << text(start);
    return -1;
}

bool drawsInk(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

// к о т in cells 1..3, о м below the о in cells 22 and 42; a stray number on
// the blank cell 5.
CrosswordDocument catAndMouse()
{
    return boardFromRows({".кот", "..о", "..м"}, {{1, "1"}, {2, "2"}, {5, "9"}}, Clues);
}

} // namespace

TEST(Form1Test, GridAndControlsStandAtTheirDesignPlacesBelowTheMenuBar)
{
    CrosswordDocument corners = boardFromRows({"аб", "в"}, {{0, "1"}, {1, "2"}, {20, "3"}});
    corners.setLetter(399, QStringLiteral("г"));
    corners.setNumber(399, QStringLiteral("4"));
    ShownForm1 form(corners);

    EXPECT_EQ(form.client()->size(), QSize(1016, 722));
    EXPECT_EQ(form.client()->y(), form.window.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(form.client()->x(), 0);

    // Letter labels 430 x 460 twips; number labels start 30 twips further right below row 0.
    EXPECT_EQ(form.letter(0)->geometry(), pixels(8, 24, 29, 31));
    EXPECT_EQ(form.letter(1)->geometry(), pixels(38, 24, 29, 31));
    EXPECT_EQ(form.letter(20)->geometry(), pixels(8, 56, 29, 31));
    EXPECT_EQ(form.letter(399)->geometry(), pixels(578, 632, 29, 31));
    EXPECT_EQ(form.number(0)->geometry(), pixels(8, 24, 12, 12));
    EXPECT_EQ(form.number(1)->geometry(), pixels(38, 24, 12, 12));
    EXPECT_EQ(form.number(20)->geometry(), pixels(10, 56, 12, 12));
    EXPECT_EQ(form.number(399)->geometry(), pixels(580, 632, 12, 12));
    // A letter stands right, clear of its cell's number.
    EXPECT_EQ(form.letter(399)->alignment(), Qt::AlignRight | Qt::AlignTop);

    EXPECT_EQ(form.pane()->geometry(), pixels(624, 0, 393, 625));
    EXPECT_EQ(form.back()->geometry(), pixels(632, 640, 81, 29));
    EXPECT_EQ(form.finish()->geometry(), pixels(924, 640, 81, 29));
    EXPECT_EQ(form.named<QWidget>(QStringLiteral("Label3"))->geometry(), pixels(772, 632, 105, 17));
    EXPECT_EQ(form.history()->geometry(), pixels(772, 648, 105, 21));
    EXPECT_EQ(form.keyboard()->geometry(), pixels(8, 80, 150, 150));

    // The frame can be resized, and no control moves or grows.
    const QSize designed = form.window.size();
    form.window.resize(designed + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(form.window.size(), designed + QSize(200, 100));
    EXPECT_EQ(form.letter(399)->geometry(), pixels(578, 632, 29, 31));
    EXPECT_EQ(form.pane()->geometry(), pixels(624, 0, 393, 625));
    EXPECT_EQ(form.keyboard()->geometry(), pixels(8, 80, 150, 150));
    EXPECT_EQ(form.history()->geometry(), pixels(772, 648, 105, 21));
}

TEST(Form1Test, LoadShowsOnlyPlayableCellsWithTheirNumbersAndTheClues)
{
    CrosswordDocument document = catAndMouse();
    document.setLetter(0, QStringLiteral("а"));
    document.setLetter(4, QStringLiteral("ы")); // playable, no number
    ShownForm1 form(document);

    EXPECT_EQ(text(form.window.windowTitle()),
              text(QStringLiteral("Кварцелла 2.0  -  ") + FileName));
    EXPECT_EQ(text(form.key(32)->text()), "я");
    EXPECT_EQ(form.key(33)->text(), QString());
    EXPECT_EQ(text(form.key(34)->text()), "закрыть");
    EXPECT_FALSE(form.keyboardShown());

    int shownLetters = 0;
    int shownNumbers = 0;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        shownLetters += form.letter(cell)->isVisibleTo(&form.window);
        shownNumbers += form.number(cell)->isVisibleTo(&form.window);
    }
    EXPECT_EQ(shownLetters, 7);
    EXPECT_EQ(shownNumbers, 2);
    EXPECT_TRUE(form.letter(4)->isVisibleTo(&form.window));
    EXPECT_FALSE(form.number(4)->isVisibleTo(&form.window)) << "a playable cell without a number";
    EXPECT_FALSE(form.letter(5)->isVisibleTo(&form.window));
    EXPECT_FALSE(form.number(5)->isVisibleTo(&form.window)) << "a number on a blank cell";
    EXPECT_EQ(form.number(1)->text(), QStringLiteral("1"));
    EXPECT_EQ(form.number(2)->text(), QStringLiteral("2"));
    EXPECT_EQ(form.letter(1)->text(), QString()) << "the answers are never shown";

    EXPECT_EQ(face(form.letter(1)), White);
    EXPECT_EQ(face(form.letter(42)), White);

    EXPECT_EQ(text(form.pane()->text()), text(Clues));
    EXPECT_TRUE(form.pane()->isReadOnly());
    EXPECT_EQ(lineStart(form.pane(), QStringLiteral("1.")), 0);
    EXPECT_EQ(form.pane()->document()->defaultFont().pointSizeF(), 12);
    EXPECT_TRUE(drawsInk(form.pane()->viewport(), Black));
    EXPECT_TRUE(form.finish()->isEnabled());
    EXPECT_FALSE(form.back()->isEnabled());
    EXPECT_EQ(form.history()->count(), 0);
    EXPECT_EQ(form.history()->currentText(), QString());
}

TEST(Form1Test, BlankFirstCellHidesBothOfItsLabels)
{
    ShownForm1 form(boardFromRows({".к"}, {{0, "1"}, {1, "2"}}));
    EXPECT_FALSE(form.letter(0)->isVisibleTo(&form.window));
    EXPECT_FALSE(form.number(0)->isVisibleTo(&form.window));
    // The press on the hidden cell falls on the background and opens nothing.
    form.clickAt(form.letter(0)->geometry().center());
    EXPECT_FALSE(form.keyboardShown());
}

TEST(Form1Test, KeyboardOpensAtTheClickedCellAboveEveryOtherControl)
{
    CrosswordDocument document;
    for (int cell : {319, 320, 399})
        document.setLetter(cell, QStringLiteral("ж"));
    document.setNumber(399, QStringLiteral("12"));
    ShownForm1 form(document);
    QWidget *keyboard = form.keyboard();

    const auto topmostIsKeyboard = [&](QPoint point) {
        QWidget *hit = form.client()->childAt(point);
        return hit && (hit == keyboard || keyboard->isAncestorOf(hit));
    };

    form.clickLetter(319); // row 15: the keyboard covers the cell's corner
    ASSERT_TRUE(form.keyboardShown());
    EXPECT_EQ(keyboard->pos(), QPoint(578, 504));
    EXPECT_TRUE(topmostIsKeyboard(form.letter(319)->geometry().topLeft() + QPoint(2, 2)));
    EXPECT_EQ(form.window.solver().selectedCell(), 319);

    form.clickLetter(320); // row 16: half a keyboard higher; an open keyboard just moves
    EXPECT_TRUE(form.keyboardShown());
    EXPECT_EQ(keyboard->pos(), QPoint(8, 461));
    EXPECT_TRUE(topmostIsKeyboard(QPoint(10, 463)));
    QTest::mouseClick(form.key(34), Qt::LeftButton);
    EXPECT_FALSE(form.keyboardShown());

    // The number label of cell 399 selects the cell and places the keyboard at its letter label.
    form.clickAt(form.number(399)->geometry().center());
    ASSERT_TRUE(form.keyboardShown());
    EXPECT_EQ(keyboard->pos(), QPoint(578, 527));
    EXPECT_EQ(form.window.solver().selectedCell(), 399);
    // It reaches into the clue pane and over "назад", and stays on top there.
    EXPECT_TRUE(topmostIsKeyboard(QPoint(700, 530)));
    EXPECT_TRUE(topmostIsKeyboard(QPoint(640, 660)));
    QTest::mouseClick(form.key(1), Qt::LeftButton);
    EXPECT_EQ(text(form.letter(399)->text()), "а");
    EXPECT_FALSE(form.keyboardShown());
}

TEST(Form1Test, FullRoundMarksWrongCellsYellowThenBackClearsThemUntilSolved)
{
    ShownForm1 form(catAndMouse());

    form.enter(1, QStringLiteral("к"));
    form.enter(2, QStringLiteral("а"));
    form.enter(2, QStringLiteral("о")); // the last key wins
    form.enter(3, QStringLiteral("д"));
    form.enter(22, QStringLiteral("о"));
    // Cell 42 stays empty: a mistake too. The erase key leaves cell 1 empty but it is refilled.
    form.enter(1, QString());
    EXPECT_EQ(form.letter(1)->text(), QString());
    form.enter(1, QStringLiteral("к"));
    EXPECT_EQ(text(form.letter(2)->text()), "о");

    form.clickLetter(42); // the keyboard is open when "закончить" is pressed
    ASSERT_TRUE(form.keyboardShown());
    QTest::mouseClick(form.finish(), Qt::LeftButton);
    EXPECT_FALSE(form.keyboardShown());

    EXPECT_EQ(face(form.letter(1)), White);
    EXPECT_EQ(face(form.letter(2)), White);
    EXPECT_EQ(face(form.letter(3)), Yellow);
    EXPECT_EQ(face(form.letter(22)), White);
    EXPECT_EQ(face(form.letter(42)), Yellow);
    EXPECT_EQ(text(form.history()->currentText()), "      1     -      2");
    EXPECT_EQ(form.history()->count(), 1);
    EXPECT_EQ(text(form.pane()->text()), "К сожалению, ты не смог разгадать весь кроссворд.\r\n\r\n"
                                         "Допущено ошибок -  2\r\n\r\n"
                                         "Для дальнейшего редактирования нажми кнопку [назад]");
    EXPECT_GT(lineStart(form.pane(), QStringLiteral("Допущено")), 20) << "centred";
    EXPECT_EQ(form.pane()->document()->defaultFont().pointSizeF(), 22);
    EXPECT_TRUE(drawsInk(form.pane()->viewport(), Blue));
    EXPECT_FALSE(form.finish()->isEnabled());
    EXPECT_TRUE(form.back()->isEnabled());

    // While reviewing, a cell click shows the hint instead of the keyboard.
    form.clickLetter(22);
    EXPECT_FALSE(form.keyboardShown());
    EXPECT_EQ(text(form.pane()->text()), "Для дальнейшего редактирования нажми кнопку [назад]");
    EXPECT_EQ(form.pane()->document()->defaultFont().pointSizeF(), 22);

    QTest::mouseClick(form.back(), Qt::LeftButton);
    EXPECT_EQ(form.letter(3)->text(), QString());
    EXPECT_EQ(face(form.letter(3)), Yellow) << "marks stay until the next check";
    EXPECT_EQ(text(form.letter(1)->text()), "к");
    EXPECT_EQ(text(form.pane()->text()), text(Clues));
    EXPECT_EQ(lineStart(form.pane(), QStringLiteral("1.")), 0);
    EXPECT_EQ(form.pane()->document()->defaultFont().pointSizeF(), 12);
    EXPECT_FALSE(drawsInk(form.pane()->viewport(), Blue));
    EXPECT_TRUE(drawsInk(form.pane()->viewport(), Black));
    EXPECT_TRUE(form.finish()->isEnabled());
    EXPECT_FALSE(form.back()->isEnabled());
    EXPECT_EQ(form.history()->count(), 1);

    form.enter(3, QStringLiteral("т"));
    form.enter(42, QStringLiteral("м"));
    QTest::mouseClick(form.finish(), Qt::LeftButton);
    EXPECT_EQ(text(form.pane()->text()), "Молодец!\r\nТы разгадал весь кроссворд.");
    EXPECT_EQ(text(form.history()->currentText()), "      2     -      0");
    EXPECT_EQ(text(form.history()->itemText(0)), "      1     -      2");
    EXPECT_EQ(form.history()->count(), 2);
    EXPECT_EQ(face(form.letter(3)), White);
    EXPECT_FALSE(form.finish()->isEnabled());
    EXPECT_FALSE(form.back()->isEnabled());
    // The cells of the crossword; labels not on show take no clicks anyway.
    for (int cell : {1, 2, 42})
        EXPECT_FALSE(form.letter(cell)->isEnabled()) << cell;
    EXPECT_FALSE(form.number(1)->isEnabled());
    form.clickLetter(1);
    form.clickAt(form.number(2)->geometry().center());
    EXPECT_FALSE(form.keyboardShown());
    EXPECT_EQ(text(form.pane()->text()), "Молодец!\r\nТы разгадал весь кроссворд.");
}

TEST(Form1Test, PressesOnBackgroundCluePaneAndHistoryCaptionCloseTheKeyboard)
{
    ShownForm1 form(catAndMouse());
    QWidget *caption = form.named<QWidget>(QStringLiteral("Label3"));
    QSignalSpy about(&form.window, &Form1::aboutRequested);

    form.clickLetter(1);
    ASSERT_TRUE(form.keyboardShown());
    form.clickAt(QPoint(400, 400)); // bare background
    EXPECT_FALSE(form.keyboardShown());

    form.clickLetter(1);
    const QRect combo = form.history()->geometry();
    form.clickAt(combo.center());
    EXPECT_TRUE(form.keyboardShown()) << "the history's edit field leaves the keyboard open";
    form.clickAt(QPoint(combo.right() - 3, combo.center().y()));
    EXPECT_TRUE(form.keyboardShown()) << "the history's arrow leaves the keyboard open";
    QTest::mouseClick(form.key(34), Qt::LeftButton);
    form.clickLetter(1);
    form.clickAt(combo.topLeft() + QPoint(1, 1));
    EXPECT_TRUE(form.keyboardShown()) << "the history's frame leaves the keyboard open";

    form.clickAt(caption->geometry().center());
    EXPECT_FALSE(form.keyboardShown());
    EXPECT_EQ(about.count(), 0) << "a single press only closes the keyboard";
    QTest::mouseDClick(caption, Qt::LeftButton);
    EXPECT_EQ(about.count(), 1);

    // The pane takes the press as usual: it gets the focus and the caret moves.
    form.clickLetter(1);
    ASSERT_TRUE(form.keyboardShown());
    CluePane *pane = form.pane();
    const QRect second = pane->cursorRect(QTextCursor(pane->document()->findBlockByNumber(1)));
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, second.center() + QPoint(30, 0));
    EXPECT_FALSE(form.keyboardShown());
    EXPECT_EQ(form.window.focusWidget(), pane);
    EXPECT_EQ(pane->textCursor().blockNumber(), 1);
    QTest::keyClicks(pane, QStringLiteral("xyz"));
    EXPECT_EQ(text(pane->text()), text(Clues)) << "the pupil cannot change the clues";

    // Later clicks leave the caret and the text where they are.
    const int caret = pane->textCursor().position();
    form.enter(1, QStringLiteral("к"));
    EXPECT_EQ(pane->textCursor().position(), caret);
}

TEST(Form1Test, MenuBarIsAsDesignedWithoutShortcuts)
{
    ShownForm1 form(catAndMouse());
    const QList<QAction *> bar = form.window.menuBar()->actions();
    EXPECT_EQ(
        WindowDriver::describeMenus(bar),
        QStringList({QStringLiteral("Кроссворд[Открыть...:menuopen,-,Выход:menuend]"),
                     QStringLiteral("Шрифт:menufont"),
                     QStringLiteral("Справка[Содержание...:menuhelp1,-,О программе:menuhelp2]")}));
    EXPECT_EQ(bar.value(2)->objectName(), QStringLiteral("menuhelp"));
    EXPECT_FALSE(WindowDriver::anyShortcut(bar));
    EXPECT_FALSE(form.window.menuBar()->isNativeMenuBar());
}

TEST(Form1Test, CellZeroKeepsTheSystemWindowColourWhileItsCopiesTurnWhite)
{
    // A desktop whose window colour is not white, so that the two differ.
    const QPalette saved = QApplication::palette();
    QPalette tinted = saved;
    const QColor cream(250, 240, 200);
    tinted.setColor(QPalette::Base, cream);
    QApplication::setPalette(tinted);
    {
        CrosswordDocument document = catAndMouse();
        document.setLetter(0, QStringLiteral("а"));
        ShownForm1 form(document);
        EXPECT_EQ(face(form.letter(0)), cream);
        EXPECT_EQ(face(form.letter(1)), White);
        EXPECT_EQ(face(form.letter(42)), White);
        // Blue letters in the bold fixed-pitch grid font, cell 0 and its copies alike.
        form.enter(0, QStringLiteral("ж"));
        form.enter(42, QStringLiteral("ж"));
        for (int cell : {0, 42}) {
            const QFont font = form.letter(cell)->font();
            EXPECT_EQ(font.family(), QStringLiteral("Courier New")) << cell;
            EXPECT_EQ(font.pointSizeF(), 21.75) << cell;
            EXPECT_EQ(font.weight(), QFont::Bold) << cell;
            // Wine has no Courier New nor a fixed-pitch stand-in under that name.
            if (!TestPlatform::Windows) {
                EXPECT_TRUE(QFontInfo(font).fixedPitch()) << cell;
            }
            EXPECT_TRUE(drawsInk(form.letter(cell), Blue)) << cell;
        }
    }
    QApplication::setPalette(saved);
}

TEST(Form1Test, HistoryEditFieldIsThePupilsBetweenChecks)
{
    ShownForm1 form(catAndMouse());
    QComboBox *history = form.history();
    QTest::mouseClick(form.finish(), Qt::LeftButton);
    QTest::mouseClick(form.back(), Qt::LeftButton);
    QTest::mouseClick(form.finish(), Qt::LeftButton);
    QTest::mouseClick(form.back(), Qt::LeftButton);
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(text(history->currentText()), "      2     -      5");

    // A line picked from the list, then typed text, survive clicks, keys and presses.
    history->setCurrentIndex(0);
    form.enter(1, QStringLiteral("к"));
    form.clickAt(QPoint(400, 400));
    EXPECT_EQ(text(history->currentText()), "      1     -      5");
    QTest::keyClicks(history->lineEdit(), QStringLiteral(" ?"));
    form.enter(2, QStringLiteral("о"));
    form.clickLetter(3);
    QTest::mouseClick(form.key(34), Qt::LeftButton);
    EXPECT_EQ(text(history->currentText()), "      1     -      5 ?");

    // The next check shows its own line again.
    QTest::mouseClick(form.finish(), Qt::LeftButton);
    EXPECT_EQ(text(history->currentText()), "      3     -      3");
}

// Mended fault: only the design-sized area reported presses, so after enlarging
// the window a press in the new part left the keyboard open.
TEST(Form1Test, PressOnTheEnlargedPartOfTheWindowClosesTheKeyboard)
{
    ShownForm1 form(catAndMouse());
    form.window.resize(form.window.size() + QSize(200, 150));
    QApplication::processEvents();
    const QRect frame = form.window.rect();
    for (const QPoint corner : {QPoint(frame.right() - 5, 300), QPoint(300, frame.bottom() - 5),
                                frame.bottomRight() - QPoint(5, 5)}) {
        form.clickLetter(1);
        ASSERT_TRUE(form.keyboardShown());
        form.clickAt(form.client()->mapFrom(&form.window, corner));
        EXPECT_FALSE(form.keyboardShown()) << corner.x() << "," << corner.y();
    }
}
