#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "form1.h"
#include "form4.h"
#include "gridcursor.h"
#include "keyplace.h"
#include "letterkeymap.h"
#include "spokenstatus.h"
#include "windowdriver.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const CrosswordDocument Board =
    boardFromRows({"кот", "..р"}, {{0, "1"}, {2, "2"}},
                  QStringLiteral("По горизонтали:\r\n1. Мурлычет.\r\nПо вертикали:\r\n2. Ток."));

// A key as a user types it: to whatever has the focus in the window.
void type(QMainWindow &window, Qt::Key key, const QString &text = {},
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
}

void typeText(QMainWindow &window, const QString &letters)
{
    for (QChar c : letters)
        type(window, Qt::Key_unknown, QString(c));
}

// What the rules hold after a run, for comparing keys with clicks.
std::string solverState(const Form1 &window)
{
    const GridSolver &s = window.solver();
    QStringList state;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i)
        state << s.enteredLetter(i) + u'/' + QString::number(int(s.mark(i)));
    state << s.history() << s.cluePaneText() << QString::number(int(s.state()))
          << QString::number(s.selectedCell()) << QString::number(s.isKeyboardShown());
    return state.join(u'\n').toStdString();
}

std::string editorState(const Form4 &window)
{
    const GridEditor &e = window.editor();
    QStringList state;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i)
        state << e.letter(i) + u'/' + e.number(i) + u'/' + QString::number(e.isShown(i));
    state << e.padDisplay() << QString::number(e.selectedCell())
          << QString::number(e.isLetterKeyboardShown()) << QString::number(e.isNumberPadShown())
          << window.cluePane()->text();
    return state.join(u'\n').toStdString();
}

template <typename Form> struct Shown : WindowDriver
{
    Form window;
    Shown() : WindowDriver(window)
    {
        if constexpr (std::is_same_v<Form, Form1>)
            window.load(QStringLiteral("кот.crs"), Board);
        else
            window.load();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            ADD_FAILURE() << "the window was never exposed";
    }
    void background() { clickAt(QPoint(700, 700) - client()->pos() / 2 - QPoint(0, 50)); }
};

// A user's actions, one per word. Clicks: L12 a cell's letter, N12 its number,
// K12 a keyboard key, P12 a pad key, F the forward button ("закончить" or
// "показать"), C the clues, B the background. Keys, typed to the window's
// focus: a name from the table below, a Latin letter (typed as on a US
// layout), or anything else typed character by character.
void play(WindowDriver &driver, QMainWindow &window, const QString &script)
{
    static const QMap<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {QStringLiteral("Right"), {Qt::Key_Right, {}}},
        {QStringLiteral("Down"), {Qt::Key_Down, {}}},
        {QStringLiteral("Up"), {Qt::Key_Up, {}}},
        {QStringLiteral("End"), {Qt::Key_End, {}}},
        {QStringLiteral("PageDown"), {Qt::Key_PageDown, {}}},
        {QStringLiteral("Tab"), {Qt::Key_Tab, {}}},
        {QStringLiteral("Backtab"), {Qt::Key_Backtab, Qt::ShiftModifier}},
        {QStringLiteral("Return"), {Qt::Key_Return, {}}},
        {QStringLiteral("Enter"), {Qt::Key_Enter, Qt::KeypadModifier}},
        {QStringLiteral("Ctrl+Return"), {Qt::Key_Return, Qt::ControlModifier}},
        {QStringLiteral("Space"), {Qt::Key_Space, {}}},
        {QStringLiteral("Backspace"), {Qt::Key_Backspace, {}}},
        {QStringLiteral("Escape"), {Qt::Key_Escape, {}}}};
    static const QRegularExpression click(QStringLiteral("^([LNKP])(\\d+)$|^[FCB]$"));
    for (const QString &word : script.split(u' ', Qt::SkipEmptyParts)) {
        const int n = word.mid(1).toInt();
        if (named.contains(word)) {
            type(window, named[word].first, {}, named[word].second);
        } else if (word.size() == 1 && word.at(0) >= u'a' && word.at(0) <= u'z') {
            type(window, Qt::Key(Qt::Key_A + (word.at(0).unicode() - u'a')), word);
        } else if (!click.match(word).hasMatch()) {
            typeText(window, word);
        } else if (word.at(0) == u'L') {
            driver.clickLetter(n);
        } else if (word.at(0) == u'N') {
            driver.clickNumber(n);
        } else if (word.at(0) == u'K') {
            driver.key(n)->click();
        } else if (word.at(0) == u'P') {
            driver.padKey(n)->click();
        } else if (word == u'F') {
            driver.named<QPushButton>(QStringLiteral("Command2"))->click();
        } else if (word == u'C') {
            QTest::mouseClick(driver.pane()->viewport(), Qt::LeftButton);
        } else {
            driver.clickAt(QPoint(700, 690));
        }
    }
}

struct Sequence
{
    const char *name;
    bool editing;
    const char16_t *keys;
    const char16_t *clicks;
};

class KeysAndClicks : public testing::TestWithParam<Sequence>
{
};

} // namespace

TEST_P(KeysAndClicks, EndInTheSameStateOfTheRules)
{
    const Sequence &row = GetParam();
    auto run = [&row](auto &typed, auto &clicked, auto state) {
        // The window opens with the focus in the clues; Shift+Tab reaches the grid.
        ASSERT_EQ(typed.window.focusWidget(), typed.pane());
        type(typed.window, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        ASSERT_EQ(typed.window.focusWidget(), typed.window.gridCursor());
        play(typed, typed.window, QString::fromUtf16(row.keys));
        play(clicked, clicked.window, QString::fromUtf16(row.clicks));
        EXPECT_EQ(state(typed.window), state(clicked.window));
        // The frame shows while keys are used and goes with the next mouse press.
        if (typed.window.gridCursor()->isFocused()) {
            EXPECT_TRUE(typed.window.gridCursor()->isFrameShown());
            typed.background();
            EXPECT_FALSE(typed.window.gridCursor()->isFrameShown());
        }
    };
    if (row.editing) {
        Shown<Form4> typed, clicked;
        run(typed, clicked, editorState);
    } else {
        Shown<Form1> typed, clicked;
        run(typed, clicked, solverState);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothWindows, KeysAndClicks,
    testing::Values(
        Sequence{"LetterTypedInTheGrid", false, u"к", u"L0 K11"},
        // A typed letter moves the frame on down after Up or Down (to the right
        // otherwise); the frame is not a click, so the rules' cell stays.
        Sequence{"TypedLettersGoDownAfterDown", true, u"Down к о Right т",
                 u"L20 K11 L40 K15 L61 K19"},
        // A Latin layout types by position: q is й; ё is е.
        Sequence{"ArrowsLatinKeysAndYo", false, u"Right q Ё", u"L1 K10 L2 K6"},
        Sequence{"EnterEscapeBackspaceAndEnd", false, u"к Return Escape End т Space Backspace",
                 u"L0 K11 L1 K34 L2 K19 L2 K33"},
        // Down finds the nearest cell of the next row that has one; Tab twice
        // reaches "закончить" past the disabled "назад"; Space checks and the
        // focus goes on to the result, whence Shift+Tab is the grid again; in
        // review, Enter on a cell shows the hint as a click does.
        Sequence{"CheckByKeysThenHint", false, u"Down ь Tab Tab Space Backtab Return",
                 u"L22 K29 F L22"},
        Sequence{"NumberPadByCtrlEnterAndHash", true,
                 u"Ctrl+Return 12 Return Right #7 Backspace 3 Enter",
                 u"N0 P2 P3 P12 N1 P8 P11 P4 P12"},
        // Every cell of the editing grid can be reached; Escape closes the pad.
        Sequence{"EveryCellAndEscapeOnThePad", true, u"PageDown End я №5 Escape",
                 u"L399 K32 N399 P6 B"},
        // With the keyboard open, a letter typed in the clues goes to the keyboard.
        Sequence{"LetterTypedInTheCluesWhileTheKeyboardIsOpen", true, u"Tab а L5 ж", u"C а L5 K7"}),
    [](const testing::TestParamInfo<Sequence> &info) { return std::string(info.param.name); });

TEST(LetterKeyMapTest, RussianLettersAndTheKeysInTheirPlacesOnOtherLayouts)
{
    const struct
    {
        Qt::Key key;
        const char16_t *text;
        quint32 scanCode; // the PC scan code of the key's place, 0 for none
        Qt::KeyboardModifiers modifiers;
        int expected;
    } rows[] = {
        {Qt::Key_unknown, u"к", 0, {}, 11},
        {Qt::Key_unknown, u"Ё", 0, Qt::ShiftModifier, 6},
        {Qt::Key_Q, u"q", 0, {}, 10},            // no place known: a US layout
        {Qt::Key_Y, u"y", 44, {}, 32},           // German Y stands where Z does: я
        {Qt::Key_BracketLeft, u"ü", 26, {}, 22}, // х
        {Qt::Key_Period, u".", 53, {}, 0},       // the Russian layout's full stop
        {Qt::Key_O, u"o", 24, {}, 26},           // щ, not й: each platform's codes are its own
        {Qt::Key_1, u"1", 2, {}, 0},
        {Qt::Key_Q, u"q", 16, Qt::ControlModifier, 0},
        {Qt::Key_Delete, u"", 0x153, {}, 33},
        {Qt::Key_Escape, u"\x1b", 1, {}, 34},
    };
    for (const auto &row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers,
                              KeyPlace::nativeScanCode(row.scanCode), 0, 0,
                              QString::fromUtf16(row.text));
        EXPECT_EQ(LetterKeyMap::keyFor(event), row.expected)
            << QString::fromUtf16(row.text).toStdString();
    }
}

TEST(GridCursorTest, ArrowsReachEveryCellOnShowAndEndsStopAtTheEdges)
{
    const std::set<int> shown = {0, 1, 2, 22, 45, 399};
    const auto exposed = [&shown](int cell) { return shown.count(cell) > 0; };
    const struct
    {
        int from;
        Qt::Key key;
        int to;
    } rows[] = {
        {0, Qt::Key_Right, 1},     {2, Qt::Key_Right, 2},  {1, Qt::Key_Left, 0},
        {0, Qt::Key_Down, 22},     {22, Qt::Key_Down, 45}, {45, Qt::Key_Down, 399},
        {399, Qt::Key_Up, 45},     {22, Qt::Key_Up, 2},    {0, Qt::Key_Up, 0},
        {1, Qt::Key_Home, 0},      {0, Qt::Key_End, 2},    {22, Qt::Key_PageUp, 2},
        {2, Qt::Key_PageDown, 22}, {45, Qt::Key_Home, 45}, {0, Qt::Key_A, -1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(GridCursor::step(row.from, row.key, exposed), row.to)
            << row.from << " " << row.key;
}

namespace {

std::string nameOf(QAccessibleInterface *node)
{
    return node->text(QAccessible::Name).toStdString();
}

// The press action of a button clicks it a moment later, as a key press would.
void press(QAccessibleInterface *node)
{
    node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(150);
}

QAccessibleInterface *findNamed(QAccessibleInterface *root, const QString &name)
{
    if (root->text(QAccessible::Name) == name)
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface *found = findNamed(root->child(i), name))
            return found;
    }
    return nullptr;
}

// Every child names its parent and is found at its own index: what a screen
// reader relies on to walk the tree both ways. Counts the grid's labels met.
int expectConsistentTree(QAccessibleInterface *node)
{
    int gridLabels = 0;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        EXPECT_TRUE(child) << i;
        if (!child)
            continue;
        EXPECT_EQ(node->indexOfChild(child), i);
        EXPECT_EQ(child->parent(), node);
        const QString name = child->object() ? child->object()->objectName() : QString();
        gridLabels += name == QLatin1String("Label1") || name == QLatin1String("Label2");
        gridLabels += expectConsistentTree(child);
    }
    return gridLabels;
}

} // namespace

TEST(ScreenReaderTest, SolvingGridShowsOnlyItsCellsNamedAndPressable)
{
    Shown<Form1> form;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(&form.window);
    EXPECT_EQ(expectConsistentTree(root), 4)
        << "the cells, each once, and no blank or number label";
    QAccessibleInterface *grid = findNamed(root, QStringLiteral("сетка кроссворда"));
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->childCount(), 4) << "the four cells of the crossword, none of the blanks";
    QAccessibleInterface *first = grid->child(0);
    EXPECT_EQ(nameOf(first), "строка 1, столбец 1, номер 1, пусто");
    EXPECT_EQ(first->role(), QAccessible::Button);
    EXPECT_EQ(nameOf(grid->child(3)), "строка 2, столбец 3, пусто");

    // The press action is a click: the keyboard opens, and its keys are named.
    press(first);
    EXPECT_TRUE(form.window.solver().isKeyboardShown());
    EXPECT_EQ(nameOf(QAccessible::queryAccessibleInterface(form.key(33))), "стереть");
    EXPECT_EQ(nameOf(QAccessible::queryAccessibleInterface(form.key(34))), "закрыть");
    QAccessibleInterface *key = QAccessible::queryAccessibleInterface(form.key(12));
    EXPECT_EQ(nameOf(key), "л");
    press(key);
    EXPECT_EQ(nameOf(first), "строка 1, столбец 1, номер 1, буква л");

    form.named<QPushButton>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(nameOf(first), "строка 1, столбец 1, номер 1, буква л, ошибка");

    // The focused cell is the grid's focus, also for the screen reader.
    form.window.gridCursor()->setFocus(Qt::TabFocusReason);
    type(form.window, Qt::Key_Right);
    EXPECT_TRUE(grid->child(1)->state().focused);
    EXPECT_FALSE(first->state().focused);
    EXPECT_EQ(grid->focusChild(), grid->child(1));
}

TEST(ScreenReaderTest, EditingGridExposesTheCellsOnShowAndNamesThePadKeys)
{
    Shown<Form4> form;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(&form.window);
    QAccessibleInterface *grid = findNamed(root, QStringLiteral("сетка кроссворда"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->childCount(), 400);

    form.clickNumber(21);
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(nameOf(QAccessible::queryAccessibleInterface(form.padKey(digit + 1))),
                  std::to_string(digit));
    EXPECT_EQ(nameOf(QAccessible::queryAccessibleInterface(form.padKey(11))), "стереть");
    form.padKey(8)->click();
    QAccessibleInterface *apply = QAccessible::queryAccessibleInterface(form.padKey(12));
    EXPECT_EQ(nameOf(apply), "записать номер 7");
    press(apply);
    form.clickLetter(21);
    form.key(1)->click();
    EXPECT_EQ(nameOf(grid->child(21)), "строка 2, столбец 2, номер 7, буква а");

    // A preview shows only the lettered cells, and so does the tree.
    form.named<QPushButton>(QStringLiteral("Command2"))->click();
    ASSERT_EQ(grid->childCount(), 1);
    EXPECT_EQ(grid->child(0), QAccessible::queryAccessibleInterface(form.letter(21)));
    EXPECT_EQ(expectConsistentTree(root), 1);
}

namespace {

// What a window gives a screen reader to speak, one line at a time: "focus
// NAME | DESCRIPTION" when the focus moves, "say WORDS" for a notification.
// Counts the widgets whose enabled state changed, each of which Qt reports.
// Orca itself hears the solving window in tests/shell/orcasolve.py.
class Listener : public QObject
{
public:
    explicit Listener(QMainWindow &window) : m_window(window)
    {
        connect(window.findChild<GridCursor *>()->spokenStatus(), &SpokenStatus::spoken, this,
                [this](const QString &words) { lines << QStringLiteral("say ") + words; });
        qApp->installEventFilter(this);
    }

    void noteFocus()
    {
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(m_window.focusWidget());
        if (node && node->focusChild())
            node = node->focusChild();
        QString focus = node ? QStringLiteral("focus ") + node->text(QAccessible::Name) : QString();
        if (node && !node->text(QAccessible::Description).isEmpty())
            focus += QStringLiteral(" | ") + node->text(QAccessible::Description);
        if (focus != m_focus && node)
            lines << focus;
        m_focus = focus;
    }

    QStringList lines;
    int enabledChanges = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        enabledChanges += event->type() == QEvent::EnabledChange;
        return false;
    }

private:
    QMainWindow &m_window;
    QString m_focus;
};

// Plays the keys and expects each wanted line to begin one told, in this order.
void expectTold(WindowDriver &form, QMainWindow &window, const QString &keys,
                const QStringList &wanted)
{
    Listener listener(window);
    for (const QString &word : keys.split(u' ')) {
        play(form, window, word);
        listener.noteFocus();
    }
    qsizetype at = 0;
    for (const QString &line : wanted) {
        while (at < listener.lines.size() && !listener.lines.at(at).startsWith(line))
            ++at;
        ASSERT_LT(at++, listener.lines.size())
            << "never told, in order: " << line.toStdString() << "\ntold:\n"
            << listener.lines.join(u'\n').toStdString();
    }
    // Qt tells a reader of every widget's new state, which takes it a while
    // each time: a check must not disable the 800 labels of the grid.
    EXPECT_LT(listener.enabledChanges, 40);
}

} // namespace

TEST(ScreenReaderTest, CellsAreDescribedByTheirCluesAndTheEditingWindowSaysWhatOpens)
{
    {
        Shown<Form4> form;
        form.window.showDocument(Board);
        // A new word is found as it is typed; the pad says how it works.
        expectTold(form, form.window, QStringLiteral("Backtab Down я Up Ctrl+Return"),
                   {"focus строка 1, столбец 1, номер 1, буква к | 1 по горизонтали: Мурлычет.",
                    "say буква я", "focus строка 3, столбец 1, пусто",
                    "focus строка 2, столбец 1, буква я | 1 по вертикали.",
                    "say открыта панель с цифрами"});
    }
    Shown<Form1> form;
    expectTold(form, form.window, QStringLiteral("Backtab к о т Down р Tab Tab Space"), {});
    EXPECT_EQ(form.window.solver().state(), GridSolver::State::Solved);
}
