// End-to-end tests of the editing window: real widgets clicked on the offscreen
// platform, then the widgets and the editor's state checked.
#include "form4.h"

#include "clickablelabel.h"
#include "cluepane.h"
#include "controlarray.h"
#include "crossworddocument.h"
#include "windowdriver.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

std::string text(const QString &value)
{
    return value.toStdString();
}

// The editing window after its load step, shown and exposed.
struct ShownForm4 : WindowDriver
{
    Form4 window;

    ShownForm4() : WindowDriver(window)
    {
        window.setWindowTitle(QStringLiteral("left over"));
        window.load();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            ADD_FAILURE() << "the editing window was never exposed";
    }

    QWidget *pad() const { return named<QWidget>(QStringLiteral("Frame2")); }
    QPushButton *back() const { return named<QPushButton>(QStringLiteral("Command1")); }
    QPushButton *preview() const { return named<QPushButton>(QStringLiteral("Command2")); }

    void typeNumber(const QString &digits)
    {
        for (QChar digit : digits)
            QTest::mouseClick(padKey(digit.digitValue() + 1), Qt::LeftButton);
    }

    bool shown(QWidget *widget) const { return widget->isVisibleTo(&window); }
    bool topmostIn(QWidget *panel, QPoint clientPoint) const
    {
        QWidget *hit = client()->childAt(clientPoint);
        return hit && (hit == panel || panel->isAncestorOf(hit));
    }
    int shownCells() const
    {
        int count = 0;
        for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
            EXPECT_EQ(shown(letter(cell)), shown(number(cell))) << cell;
            count += shown(letter(cell));
        }
        return count;
    }
};

// Types text as a keyboard would, character by character (any script).
void type(QWidget *widget, const QString &typed)
{
    for (QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QRect pixels(int left, int top, int width, int height)
{
    return {left, top, width, height};
}

} // namespace

TEST(Form4Test, LoadBuildsTheEmptyGridAndControlsAtTheirDesignPlaces)
{
    ShownForm4 form;

    EXPECT_EQ(text(form.window.windowTitle()), "Кварцелла 2.0");
    EXPECT_EQ(form.window.editorFileName(), QString());
    EXPECT_EQ(text(form.key(32)->text()), "я");
    EXPECT_EQ(form.key(33)->text(), QString());
    EXPECT_EQ(form.shownCells(), 400);
    for (int cell : {0, 1, 20, 399}) {
        EXPECT_EQ(form.letter(cell)->text(), QString()) << cell;
        EXPECT_EQ(form.number(cell)->text(), QString()) << cell;
    }

    EXPECT_EQ(form.client()->size(), QSize(1016, 722));
    EXPECT_EQ(form.client()->pos(), QPoint(0, form.window.menuBar()->geometry().bottom() + 1));

    // Letter labels 435 x 465 twips; number labels start 30 twips further right below row 0.
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
    EXPECT_EQ(text(form.back()->text()), "назад");
    EXPECT_EQ(form.preview()->geometry(), pixels(924, 640, 81, 29));
    EXPECT_EQ(text(form.preview()->text()), "показать");
    EXPECT_FALSE(form.shown(form.keyboard()));
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(form.keyboard()->geometry(), pixels(8, 80, 150, 150));
    EXPECT_EQ(form.pad()->geometry(), pixels(8, 256, 100, 75));
}

TEST(Form4Test, NumberLabelOpensThePadWhoseKeysTypeAndApplyTheNumber)
{
    ShownForm4 form;

    form.clickLetter(39);
    ASSERT_TRUE(form.shown(form.keyboard()));
    form.clickNumber(21); // the corner of a cell is its number layer
    EXPECT_FALSE(form.shown(form.keyboard()));
    ASSERT_TRUE(form.shown(form.pad()));
    EXPECT_EQ(form.pad()->pos(), QPoint(40, 56));
    EXPECT_TRUE(form.topmostIn(form.pad(), QPoint(45, 60)));

    form.typeNumber(QStringLiteral("07"));
    EXPECT_EQ(form.padKey(12)->text(), QStringLiteral("07"));
    QTest::mouseClick(form.padKey(12), Qt::LeftButton);
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(form.number(21)->text(), QStringLiteral("07"));
    EXPECT_EQ(form.letter(21)->text(), QString());

    // Typing is abandoned by a press on the background: the number stays.
    form.clickNumber(21);
    EXPECT_EQ(form.padKey(12)->text(), QStringLiteral("07")) << "the pad starts from the cell";
    form.typeNumber(QStringLiteral("4"));
    form.clickAt(QPoint(400, 700));
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(form.number(21)->text(), QStringLiteral("07"));

    // The clear key then the display key erase the number.
    form.clickNumber(21);
    QTest::mouseClick(form.padKey(11), Qt::LeftButton);
    EXPECT_EQ(form.padKey(12)->text(), QString());
    QTest::mouseClick(form.padKey(12), Qt::LeftButton);
    EXPECT_EQ(form.number(21)->text(), QString());

    // In the last row the pad stands 500 twips higher; in the last column it covers the pane.
    form.clickNumber(380);
    EXPECT_EQ(form.pad()->pos(), QPoint(10, 599));
    form.clickNumber(399);
    EXPECT_EQ(form.pad()->pos(), QPoint(580, 599));
    EXPECT_TRUE(form.topmostIn(form.pad(), QPoint(670, 610)));
    form.typeNumber(QStringLiteral("12"));
    QTest::mouseClick(form.padKey(12), Qt::LeftButton);
    EXPECT_EQ(form.number(399)->text(), QStringLiteral("12"));
}

TEST(Form4Test, LetterKeyboardWritesIntoTheClickedCellAndStaysOnTop)
{
    ShownForm4 form;

    form.clickLetter(0);
    ASSERT_TRUE(form.shown(form.keyboard()));
    EXPECT_EQ(form.keyboard()->pos(), QPoint(8, 24));
    EXPECT_TRUE(form.topmostIn(form.keyboard(), QPoint(10, 26)));
    QTest::mouseClick(form.key(11), Qt::LeftButton);
    EXPECT_FALSE(form.shown(form.keyboard()));
    EXPECT_EQ(text(form.letter(0)->text()), "к");

    form.clickLetter(319);
    EXPECT_EQ(form.keyboard()->pos(), QPoint(578, 504));
    form.clickLetter(320); // an open keyboard moves
    EXPECT_EQ(form.keyboard()->pos(), QPoint(8, 461));
    QTest::mouseClick(form.key(32), Qt::LeftButton);
    EXPECT_EQ(text(form.letter(320)->text()), "я");

    form.clickLetter(399);
    EXPECT_EQ(form.keyboard()->pos(), QPoint(578, 527));
    EXPECT_TRUE(form.topmostIn(form.keyboard(), QPoint(700, 530))) << "above the clue pane";
    EXPECT_TRUE(form.topmostIn(form.keyboard(), QPoint(640, 660))) << "above \"назад\"";
    QTest::mouseClick(form.key(1), Qt::LeftButton);
    EXPECT_EQ(text(form.letter(399)->text()), "а");
    form.clickLetter(399);
    QTest::mouseClick(form.key(34), Qt::LeftButton);
    EXPECT_EQ(text(form.letter(399)->text()), "а") << "the close key writes nothing";
    form.clickLetter(399);
    QTest::mouseClick(form.key(33), Qt::LeftButton);
    EXPECT_EQ(form.letter(399)->text(), QString());
    EXPECT_FALSE(form.shown(form.keyboard()));
}

TEST(Form4Test, PreviewHidesCellsWithoutLettersAndBackShowsTheWholeGrid)
{
    ShownForm4 form;
    form.clickLetter(0);
    QTest::mouseClick(form.key(1), Qt::LeftButton);
    form.clickLetter(399);
    QTest::mouseClick(form.key(2), Qt::LeftButton);
    form.clickNumber(5); // a number without a letter
    form.typeNumber(QStringLiteral("3"));
    QTest::mouseClick(form.padKey(12), Qt::LeftButton);
    form.clickNumber(0);
    ASSERT_TRUE(form.shown(form.pad()));

    QTest::mouseClick(form.preview(), Qt::LeftButton);
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(form.shownCells(), 2);
    EXPECT_TRUE(form.shown(form.letter(0)));
    EXPECT_TRUE(form.shown(form.letter(399)));
    EXPECT_FALSE(form.shown(form.number(5)));
    // A hidden cell takes no click: the press falls on the background.
    form.clickNumber(5);
    form.clickLetter(6);
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_FALSE(form.shown(form.keyboard()));

    form.clickLetter(0);
    ASSERT_TRUE(form.shown(form.keyboard()));
    QTest::mouseClick(form.back(), Qt::LeftButton);
    EXPECT_FALSE(form.shown(form.keyboard()));
    EXPECT_EQ(form.shownCells(), 400);
    EXPECT_EQ(form.number(5)->text(), QStringLiteral("3"));
    EXPECT_EQ(text(form.letter(399)->text()), "б");
}

TEST(Form4Test, CluePaneClosesThePopupsAndKeepsTypedTextWithCrLfBreaks)
{
    ShownForm4 form;
    CluePane *pane = form.pane();
    EXPECT_FALSE(pane->isReadOnly());

    form.clickLetter(399); // the keyboard reaches over the pane
    ASSERT_TRUE(form.shown(form.keyboard()));
    form.clickAt(pane->geometry().center());
    EXPECT_FALSE(form.shown(form.keyboard()));
    EXPECT_EQ(form.window.focusWidget(), pane);

    type(pane, QStringLiteral("1. Кот"));
    QTest::keyClick(pane, Qt::Key_Return);
    type(pane, QStringLiteral("2.\u00a0Мышь"));
    QTest::keyClick(pane, Qt::Key_Return, Qt::ShiftModifier);
    type(pane, QStringLiteral("3. Сыр"));
    const QString typed = QStringLiteral("1. Кот\r\n2.\u00a0Мышь\r\n3. Сыр");
    EXPECT_EQ(text(pane->text()), text(typed));
    EXPECT_EQ(text(form.window.document().clueText()), text(typed));

    // The press moves the caret where it lands, even with a pop-up open.
    form.clickNumber(0);
    ASSERT_TRUE(form.shown(form.pad()));
    const QRect first = pane->cursorRect(QTextCursor(pane->document()->firstBlock()));
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, first.center() + QPoint(1, 0));
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(pane->textCursor().position(), 0);

    // A read crossword keeps its clues exactly for the next save.
    CrosswordDocument read;
    read.setLetter(7, QStringLiteral("ю"));
    read.setNumber(7, QStringLiteral("007"));
    read.setClueText(QStringLiteral("\u00a0Отступ\r\n\r\n\tТаб"));
    form.window.showDocument(read);
    EXPECT_EQ(text(form.letter(7)->text()), "ю");
    EXPECT_EQ(form.number(7)->text(), QStringLiteral("007"));
    EXPECT_EQ(form.window.document(), read);
}

// The design's items, then the added group before "Выход".
TEST(Form4Test, MenuBarIsAsDesignedWithoutShortcuts)
{
    ShownForm4 form;
    const QList<QAction *> bar = form.window.menuBar()->actions();
    EXPECT_EQ(
        WindowDriver::describeMenus(bar),
        QStringList({QStringLiteral("Кроссворд[Открыть...:menuopen,Создать:menunew,-,"
                                    "Сохранить:menusave1,Сохранить как...:menusave2,-,"
                                    "Составить из списка слов...:menumake,Проверить:menucheck,"
                                    "Печать...:menuprint,Страница для учеников...:menupage,-,"
                                    "Выход:menuend]"),
                     QStringLiteral("Шрифт:menufont"),
                     QStringLiteral("Справка[Содержание...:menuhelp1,-,О программе:menuhelp2]")}));
    EXPECT_EQ(bar.value(2)->objectName(), QStringLiteral("menuhelp"));
    EXPECT_FALSE(WindowDriver::anyShortcut(bar));
    EXPECT_FALSE(form.window.menuBar()->isNativeMenuBar());
}

// Mended fault: only the design-sized area reported presses, so after enlarging
// the window a press in the new part left the keyboard or the pad open.
TEST(Form4Test, PressOnTheEnlargedPartOfTheWindowClosesBothPopups)
{
    ShownForm4 form;
    form.window.resize(form.window.size() + QSize(180, 120));
    QCoreApplication::processEvents();
    const QRect frame = form.window.rect();
    const QPoint beyond = form.client()->mapFrom(&form.window, frame.bottomRight() - QPoint(4, 4));

    form.clickLetter(21);
    ASSERT_TRUE(form.shown(form.keyboard()));
    form.clickAt(beyond);
    EXPECT_FALSE(form.shown(form.keyboard()));

    form.clickNumber(21);
    ASSERT_TRUE(form.shown(form.pad()));
    form.clickAt(form.client()->mapFrom(&form.window, QPoint(frame.right() - 4, 200)));
    EXPECT_FALSE(form.shown(form.pad()));
    EXPECT_EQ(form.number(21)->text(), QString()) << "a press elsewhere applies nothing";
}
