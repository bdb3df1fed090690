#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "form1.h"
#include "form4.h"
#include "gridcursor.h"
#include "letterkeymap.h"
#include "windowdriver.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const CrosswordDocument Board = boardFromRows({"кот", "..р"}, {{0, "1"}, {2, "2"}});

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

struct Sequence
{
    const char *name;
    bool editing;
    std::function<void(QMainWindow &)> keys;
    std::function<void(WindowDriver &)> clicks;
};

class KeysAndClicks : public testing::TestWithParam<Sequence>
{
};

} // namespace

TEST_P(KeysAndClicks, EndInTheSameStateOfTheRules)
{
    const Sequence &row = GetParam();
    auto run = [&row](auto &typed, auto &clicked, auto state) {
        // The window opens with the focus in the clues; the grid is one stop before them.
        ASSERT_EQ(typed.window.focusWidget(), typed.pane());
        type(typed.window, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        ASSERT_EQ(typed.window.focusWidget(), typed.window.gridCursor());
        row.keys(typed.window);
        row.clicks(clicked);
        EXPECT_EQ(state(typed.window), state(clicked.window));
        // The frame shows while keys are used and goes with the next mouse press.
        if (typed.window.gridCursor()->hasFocus()) {
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
        Sequence{"LetterTypedInTheGrid", false, [](QMainWindow &w) { typeText(w, QStringLiteral("к")); },
                 [](WindowDriver &d) {
                     d.clickLetter(0);
                     d.key(11)->click();
                 }},
        // A Latin layout types by position: q is й; ё is е.
        Sequence{"ArrowsLatinKeysAndYo", false,
                 [](QMainWindow &w) {
                     type(w, Qt::Key_Right);
                     type(w, Qt::Key_Q, QStringLiteral("q"));
                     type(w, Qt::Key_Right);
                     typeText(w, QStringLiteral("Ё"));
                 },
                 [](WindowDriver &d) {
                     d.clickLetter(1);
                     d.key(10)->click();
                     d.clickLetter(2);
                     d.key(6)->click();
                 }},
        Sequence{"EnterEscapeBackspaceAndEnd", false,
                 [](QMainWindow &w) {
                     typeText(w, QStringLiteral("к"));
                     type(w, Qt::Key_Return);
                     type(w, Qt::Key_Escape);
                     type(w, Qt::Key_End);
                     typeText(w, QStringLiteral("т"));
                     type(w, Qt::Key_Space);
                     type(w, Qt::Key_Backspace);
                 },
                 [](WindowDriver &d) {
                     d.clickLetter(0);
                     d.key(11)->click();
                     d.clickLetter(0);
                     d.key(34)->click();
                     d.clickLetter(2);
                     d.key(19)->click();
                     d.clickLetter(2);
                     d.key(33)->click();
                 }},
        // Down finds the nearest cell of the next row that has one; Tab reaches
        // "закончить"; Enter in review shows the hint as a click does.
        Sequence{"CheckByKeysThenHint", false,
                 [](QMainWindow &w) {
                     type(w, Qt::Key_Down);
                     typeText(w, QStringLiteral("ь"));
                     type(w, Qt::Key_Tab);
                     type(w, Qt::Key_Tab);
                     ASSERT_EQ(w.focusWidget()->objectName(), QStringLiteral("Command2"));
                     type(w, Qt::Key_Space);
                     w.findChild<GridCursor *>()->setFocus(Qt::BacktabFocusReason);
                     type(w, Qt::Key_Enter, {}, Qt::KeypadModifier);
                 },
                 [](WindowDriver &d) {
                     d.clickLetter(22);
                     d.key(29)->click();
                     d.named<QPushButton>(QStringLiteral("Command2"))->click();
                     d.clickLetter(22);
                 }},
        Sequence{"NumberPadByCtrlEnterAndHash", true,
                 [](QMainWindow &w) {
                     type(w, Qt::Key_Return, {}, Qt::ControlModifier);
                     typeText(w, QStringLiteral("12"));
                     type(w, Qt::Key_Return);
                     type(w, Qt::Key_Right);
                     typeText(w, QStringLiteral("#7"));
                     type(w, Qt::Key_Backspace);
                     typeText(w, QStringLiteral("3"));
                     type(w, Qt::Key_Enter, {}, Qt::KeypadModifier);
                 },
                 [](WindowDriver &d) {
                     d.clickNumber(0);
                     d.padKey(2)->click();
                     d.padKey(3)->click();
                     d.padKey(12)->click();
                     d.clickNumber(1);
                     d.padKey(8)->click();
                     d.padKey(11)->click();
                     d.padKey(4)->click();
                     d.padKey(12)->click();
                 }},
        // Every cell of the editing grid can be reached; Escape closes the pad.
        Sequence{"EveryCellAndEscapeOnThePad", true,
                 [](QMainWindow &w) {
                     type(w, Qt::Key_PageDown);
                     type(w, Qt::Key_End);
                     typeText(w, QStringLiteral("я"));
                     typeText(w, QStringLiteral("№5"));
                     type(w, Qt::Key_Escape);
                 },
                 [](WindowDriver &d) {
                     d.clickLetter(399);
                     d.key(32)->click();
                     d.clickNumber(399);
                     d.padKey(6)->click();
                     d.clickAt(QPoint(700, 690));
                 }},
        // With the keyboard open, a letter typed in the clues goes to the keyboard.
        Sequence{"LetterTypedInTheCluesWhileTheKeyboardIsOpen", true,
                 [](QMainWindow &w) {
                     type(w, Qt::Key_Tab);
                     typeText(w, QStringLiteral("а"));
                     WindowDriver(w).clickLetter(5);
                     typeText(w, QStringLiteral("ж"));
                 },
                 [](WindowDriver &d) {
                     QTest::mouseClick(d.pane()->viewport(), Qt::LeftButton);
                     QTest::sendKeyEvent(QTest::Click, d.pane(), Qt::Key_unknown,
                                         QStringLiteral("а"), Qt::NoModifier);
                     d.clickLetter(5);
                     d.key(7)->click();
                 }}),
    [](const testing::TestParamInfo<Sequence> &info) { return std::string(info.param.name); });

TEST(LetterKeyMapTest, RussianLettersAndTheKeysInTheirPlacesOnOtherLayouts)
{
    const struct
    {
        Qt::Key key;
        const char16_t *text;
        quint32 scanCode;
        Qt::KeyboardModifiers modifiers;
        int expected;
    } rows[] = {
        {Qt::Key_unknown, u"к", 0, {}, 11},
        {Qt::Key_unknown, u"Ё", 0, Qt::ShiftModifier, 6},
        {Qt::Key_Q, u"q", 0, {}, 10},               // no place known: a US layout
        {Qt::Key_Y, u"y", 52, {}, 32},              // German Y stands where Z does: я
        {Qt::Key_BracketLeft, u"ü", 34, {}, 22},    // х
        {Qt::Key_Period, u".", 61, {}, 0},          // the Russian layout's full stop
        {Qt::Key_1, u"1", 10, {}, 0},
        {Qt::Key_Q, u"q", 24, Qt::ControlModifier, 0},
        {Qt::Key_Delete, u"", 119, {}, 33},
        {Qt::Key_Escape, u"\x1b", 9, {}, 34},
    };
    for (const auto &row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers, row.scanCode, 0, 0,
                              QString::fromUtf16(row.text));
        EXPECT_EQ(LetterKeyMap::keyFor(event), row.expected) << QString::fromUtf16(row.text).toStdString();
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
        {0, Qt::Key_Right, 1},     {2, Qt::Key_Right, 2},    {1, Qt::Key_Left, 0},
        {0, Qt::Key_Down, 22},     {22, Qt::Key_Down, 45},   {45, Qt::Key_Down, 399},
        {399, Qt::Key_Up, 45},     {22, Qt::Key_Up, 2},      {0, Qt::Key_Up, 0},
        {1, Qt::Key_Home, 0},      {0, Qt::Key_End, 2},      {22, Qt::Key_PageUp, 2},
        {2, Qt::Key_PageDown, 22}, {45, Qt::Key_Home, 45},   {0, Qt::Key_A, -1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(GridCursor::step(row.from, row.key, exposed), row.to) << row.from << " " << row.key;
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
    EXPECT_EQ(expectConsistentTree(root), 4) << "the cells, each once, and no blank or number label";
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
        EXPECT_EQ(nameOf(QAccessible::queryAccessibleInterface(form.padKey(digit + 1))), std::to_string(digit));
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
