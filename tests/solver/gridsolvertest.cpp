#include "gridsolver.h"

#include "boardtext.h"
#include "crossworddocument.h"
#include "gridgeometry.h"
#include "testplatform.h"

#include <gtest/gtest.h>

using Mark = GridSolver::Mark;
using State = GridSolver::State;

namespace {

// The key of the letter keyboard that carries this caption.
int keyFor(const QString &letter)
{
    for (int key = 1; key <= 32; ++key) {
        if (GridGeometry::letterKeyCaption(key) == letter)
            return key;
    }
    ADD_FAILURE() << "no key carries " << letter.toStdString();
    return GridGeometry::CloseKey;
}

// What the window does for a click on the cell and then on a letter key.
void enter(GridSolver &solver, int cell, const QString &letter)
{
    ASSERT_TRUE(solver.selectCell(cell)) << "cell " << cell;
    solver.pressLetterKey(keyFor(letter));
}

const QString Clues = QStringLiteral("1. Домашнее животное.\r\n2. Грызун.\r\n");

// к о т in cells 1..3, о м below the о: cells 22 and 42.
CrosswordDocument catAndMouse()
{
    return boardFromRows({".кот", "..о", "..м"}, {{1, "1"}, {2, "2"}}, Clues);
}

const QString Hint = QStringLiteral("Для дальнейшего редактирования нажми кнопку [назад]");
const QString Success = QStringLiteral("Молодец!\r\nТы разгадал весь кроссворд.");

QString failure(const QString &count)
{
    return QStringLiteral("К сожалению, ты не смог разгадать весь кроссворд.\r\n\r\n"
                          "Допущено ошибок - ") +
           count + QStringLiteral("\r\n\r\nДля дальнейшего редактирования нажми кнопку [назад]");
}

std::string text(const QString &value)
{
    return value.toStdString();
}

} // namespace

// --- Texts --------------------------------------------------------------------------------

TEST(GridSolverTextTest, CountersAreWrittenAsASpaceAndTheirDigits)
{
    EXPECT_EQ(GridSolver::numberText(3), QStringLiteral(" 3"));
    EXPECT_EQ(GridSolver::numberText(12), QStringLiteral(" 12"));
    EXPECT_EQ(GridSolver::numberText(0), QStringLiteral(" 0"));
    EXPECT_EQ(GridSolver::numberText(40000), QStringLiteral(" 40000"));
}

TEST(GridSolverTextTest, ResultTextsAreExact)
{
    EXPECT_EQ(GridSolver::successText(), Success);
    EXPECT_EQ(GridSolver::hintText(), Hint);
    // Two spaces between the hyphen and the digit.
    EXPECT_EQ(GridSolver::failureText(2), failure(QStringLiteral(" 2")));
    EXPECT_TRUE(
        GridSolver::failureText(2).contains(QStringLiteral("\r\nДопущено ошибок -  2\r\n")));
    EXPECT_EQ(GridSolver::historyLine(1, 3), QStringLiteral("      1     -      3"));
    EXPECT_EQ(GridSolver::historyLine(12, 0), QStringLiteral("      12     -      0"));
}

TEST(GridSolverTextTest, PaneStylesAreTheDesignValues)
{
    EXPECT_EQ(GridSolver::ClueStyle.alignment, GridSolver::Alignment::Left);
    EXPECT_EQ(GridSolver::ClueStyle.fontSize, 12);
    EXPECT_EQ(GridSolver::ClueStyle.colour, (GridSolver::Colour{0, 0, 0}));
    EXPECT_EQ(GridSolver::ResultStyle.alignment, GridSolver::Alignment::Centre);
    EXPECT_EQ(GridSolver::ResultStyle.fontSize, 22);
    EXPECT_EQ(GridSolver::ResultStyle.colour, (GridSolver::Colour{0, 0, 255}));
    EXPECT_EQ(static_cast<int>(GridSolver::Alignment::Centre), 2);
}

// --- Loading -------------------------------------------------------------------------------

TEST(GridSolverLoadTest, ANewSolverIsAnEmptyCrosswordInSolving)
{
    const GridSolver solver;
    EXPECT_EQ(solver.state(), State::Solving);
    EXPECT_EQ(solver.selectedCell(), 0);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.attempts(), 0);
    EXPECT_TRUE(solver.history().isEmpty());
    EXPECT_EQ(solver.historyEditText(), QString());
    EXPECT_EQ(solver.clueText(), QString());
    EXPECT_EQ(solver.cluePaneText(), QString());
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.keyboardPosition(), (TwipPoint{120, 1200}));
    EXPECT_TRUE(solver.isFinishEnabled());
    EXPECT_FALSE(solver.isBackEnabled());
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        EXPECT_FALSE(solver.isPlayable(cell));
        EXPECT_FALSE(solver.isNumberShown(cell));
        EXPECT_TRUE(solver.isCellEnabled(cell));
        EXPECT_EQ(solver.mark(cell), Mark::None);
        EXPECT_EQ(solver.enteredLetter(cell), QString());
    }
}

TEST(GridSolverLoadTest, LoadingShowsTheShapeNumbersAndCluesButNoLetters)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());

    EXPECT_EQ(solver.clueText(), Clues);
    EXPECT_EQ(solver.cluePaneText(), Clues);
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);
    for (int cell : {1, 2, 3, 22, 42}) {
        EXPECT_TRUE(solver.isPlayable(cell)) << cell;
        EXPECT_EQ(solver.enteredLetter(cell), QString()) << cell;
    }
    EXPECT_FALSE(solver.isPlayable(0));
    EXPECT_FALSE(solver.isPlayable(21));
    EXPECT_EQ(solver.answerLetter(1), QStringLiteral("к"));
    EXPECT_EQ(solver.answerLetter(42), QStringLiteral("м"));
    EXPECT_EQ(solver.answerLetter(0), QString());
    EXPECT_EQ(solver.cellNumber(2), QStringLiteral("2"));
}

TEST(GridSolverLoadTest, NumberLabelsShowOnlyOnPlayableCellsWithANumber)
{
    GridSolver solver;
    // Cell 0: letter and number; 1: letter only; 2: number only; 20: letter and "05".
    solver.loadPuzzle(boardFromRows({"аб", "в"}, {{0, "1"}, {2, "2"}, {20, "05"}}));

    EXPECT_TRUE(solver.isNumberShown(0));
    EXPECT_EQ(solver.cellNumber(0), QStringLiteral("1"));
    EXPECT_TRUE(solver.isPlayable(1));
    EXPECT_FALSE(solver.isNumberShown(1));
    // A number alone does not make a cell playable, and it is not shown.
    EXPECT_FALSE(solver.isPlayable(2));
    EXPECT_FALSE(solver.isNumberShown(2));
    EXPECT_EQ(solver.cellNumber(2), QStringLiteral("2"));
    EXPECT_TRUE(solver.isNumberShown(20));
    EXPECT_EQ(solver.cellNumber(20), QStringLiteral("05"));
    EXPECT_FALSE(solver.isNumberShown(399));
}

TEST(GridSolverLoadTest, LoadingAgainStartsAfreshButKeepsTheSelectedCell)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    enter(solver, 1, QStringLiteral("к"));
    solver.finishCheck();
    solver.selectCell(3); // Reviewing: moves the selection
    ASSERT_EQ(solver.selectedCell(), 3);
    solver.setClueFontSize(18);

    solver.loadPuzzle(boardFromRows({"да"}, {}, QStringLiteral("1. Согласие.\r\n")));

    EXPECT_EQ(solver.state(), State::Solving);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.attempts(), 0);
    EXPECT_TRUE(solver.history().isEmpty());
    EXPECT_EQ(solver.historyEditText(), QString());
    EXPECT_EQ(solver.cluePaneText(), QStringLiteral("1. Согласие.\r\n"));
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);
    EXPECT_EQ(solver.enteredLetter(1), QString());
    EXPECT_EQ(solver.mark(1), Mark::None);
    EXPECT_FALSE(solver.isPlayable(3));
    EXPECT_TRUE(solver.isFinishEnabled());
    EXPECT_FALSE(solver.isBackEnabled());
    EXPECT_EQ(solver.selectedCell(), 3);
}

// --- A whole session ------------------------------------------------------------------------

TEST(GridSolverSessionTest, FillCheckGoBackAndSolve)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());

    // Fill: two right, two wrong, one left empty.
    enter(solver, 1, QStringLiteral("к"));
    enter(solver, 2, QStringLiteral("о"));
    enter(solver, 3, QStringLiteral("а"));
    enter(solver, 42, QStringLiteral("н"));
    EXPECT_EQ(solver.enteredLetter(3), QStringLiteral("а"));
    EXPECT_EQ(solver.selectedCell(), 42);
    EXPECT_FALSE(solver.isKeyboardShown());

    // First check: 3 mistakes.
    solver.finishCheck();
    EXPECT_EQ(solver.state(), State::Reviewing);
    EXPECT_EQ(solver.mistakes(), 3);
    EXPECT_EQ(solver.attempts(), 1);
    EXPECT_EQ(text(solver.cluePaneText()), text(failure(QStringLiteral(" 3"))));
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ResultStyle);
    EXPECT_EQ(solver.historyEditText(), QStringLiteral("      1     -      3"));
    EXPECT_EQ(solver.history(), QStringList{QStringLiteral("      1     -      3")});
    EXPECT_FALSE(solver.isFinishEnabled());
    EXPECT_TRUE(solver.isBackEnabled());
    EXPECT_EQ(solver.mark(1), Mark::Correct);
    EXPECT_EQ(solver.mark(2), Mark::Correct);
    EXPECT_EQ(solver.mark(3), Mark::Wrong);
    EXPECT_EQ(solver.mark(22), Mark::Wrong);
    EXPECT_EQ(solver.mark(42), Mark::Wrong);
    EXPECT_EQ(solver.mark(0), Mark::None); // not playable: skipped
    EXPECT_EQ(solver.mark(21), Mark::None);
    EXPECT_TRUE(solver.isCellEnabled(3));
    EXPECT_EQ(solver.clueText(), Clues);

    // Back: wrong cells emptied but still marked wrong, right cells kept.
    solver.backToSolving();
    EXPECT_EQ(solver.state(), State::Solving);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.attempts(), 1);
    EXPECT_EQ(solver.cluePaneText(), Clues);
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);
    EXPECT_TRUE(solver.isFinishEnabled());
    EXPECT_FALSE(solver.isBackEnabled());
    EXPECT_EQ(solver.enteredLetter(1), QStringLiteral("к"));
    EXPECT_EQ(solver.enteredLetter(2), QStringLiteral("о"));
    EXPECT_EQ(solver.mark(1), Mark::Correct);
    for (int cell : {3, 22, 42}) {
        EXPECT_EQ(solver.enteredLetter(cell), QString()) << cell;
        EXPECT_EQ(solver.mark(cell), Mark::Wrong) << cell;
    }
    EXPECT_EQ(solver.history().size(), 1);
    EXPECT_EQ(solver.historyEditText(), QStringLiteral("      1     -      3"));

    // Second check: numbered 2, one mistake left.
    enter(solver, 3, QStringLiteral("т"));
    enter(solver, 22, QStringLiteral("о"));
    solver.finishCheck();
    EXPECT_EQ(solver.state(), State::Reviewing);
    EXPECT_EQ(solver.mistakes(), 1);
    EXPECT_EQ(solver.attempts(), 2);
    EXPECT_EQ(solver.cluePaneText(), failure(QStringLiteral(" 1")));
    EXPECT_EQ(solver.history(), (QStringList{QStringLiteral("      1     -      3"),
                                             QStringLiteral("      2     -      1")}));
    EXPECT_EQ(solver.historyEditText(), QStringLiteral("      2     -      1"));
    EXPECT_EQ(solver.mark(3), Mark::Correct); // re-marked by the check
    EXPECT_EQ(solver.mark(22), Mark::Correct);
    EXPECT_EQ(solver.mark(42), Mark::Wrong);

    // Third check: solved.
    solver.backToSolving();
    enter(solver, 42, QStringLiteral("м"));
    solver.finishCheck();
    EXPECT_EQ(solver.state(), State::Solved);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.attempts(), 3);
    EXPECT_EQ(text(solver.cluePaneText()), text(Success));
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ResultStyle);
    EXPECT_EQ(solver.history().size(), 3);
    EXPECT_EQ(solver.history().last(), QStringLiteral("      3     -      0"));
    EXPECT_EQ(solver.historyEditText(), QStringLiteral("      3     -      0"));
    EXPECT_FALSE(solver.isFinishEnabled());
    EXPECT_FALSE(solver.isBackEnabled());
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
        EXPECT_FALSE(solver.isCellEnabled(cell)) << cell;
    for (int cell : {1, 2, 3, 22, 42})
        EXPECT_EQ(solver.mark(cell), Mark::Correct) << cell;
    EXPECT_EQ(solver.enteredLetter(42), QStringLiteral("м"));
}

TEST(GridSolverSessionTest, EveryUnfilledPlayableCellIsAMistake)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    solver.finishCheck();
    EXPECT_EQ(solver.mistakes(), 5);
    EXPECT_EQ(solver.historyEditText(), QStringLiteral("      1     -      5"));
}

TEST(GridSolverSessionTest, NumbersPlayNoPartInTheCheck)
{
    GridSolver solver;
    // Numbers on a blank square and on a playable cell.
    solver.loadPuzzle(boardFromRows({"я"}, {{0, "1"}, {1, "2"}, {399, "99"}}));
    enter(solver, 0, QStringLiteral("я"));
    solver.finishCheck();
    EXPECT_EQ(solver.state(), State::Solved);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.mark(1), Mark::None);
}

TEST(GridSolverSessionTest, ACrosswordWithoutPlayableCellsIsSolvedAtOnce)
{
    GridSolver solver;
    solver.loadPuzzle(boardFromRows({}, {{0, "1"}, {5, "2"}}, Clues));
    solver.finishCheck();
    EXPECT_EQ(solver.state(), State::Solved);
    EXPECT_EQ(solver.mistakes(), 0);
    EXPECT_EQ(solver.attempts(), 1);
    EXPECT_EQ(solver.cluePaneText(), Success);
    EXPECT_EQ(solver.history(), QStringList{QStringLiteral("      1     -      0")});
    EXPECT_FALSE(solver.isFinishEnabled());
    EXPECT_FALSE(solver.isBackEnabled());
    EXPECT_FALSE(solver.isCellEnabled(0));

    // The same for a solver that never loaded anything.
    GridSolver fresh;
    fresh.finishCheck();
    EXPECT_EQ(fresh.state(), State::Solved);
    EXPECT_EQ(fresh.cluePaneText(), Success);
}

TEST(GridSolverSessionTest, UpperCaseOrTwoLetterAnswersCanNeverBeMatched)
{
    CrosswordDocument document;
    document.setLetter(0, QStringLiteral("К"));
    document.setLetter(1, QStringLiteral("ко"));
    document.setLetter(2, QStringLiteral("к "));
    GridSolver solver;
    solver.loadPuzzle(document);

    for (int key = 1; key <= GridGeometry::EraseKey; ++key) {
        for (int cell = 0; cell <= 2; ++cell) {
            ASSERT_TRUE(solver.selectCell(cell));
            solver.pressLetterKey(key);
        }
        solver.finishCheck();
        EXPECT_EQ(solver.mistakes(), 3) << "key " << key;
        EXPECT_EQ(solver.state(), State::Reviewing);
        solver.backToSolving();
    }
    EXPECT_EQ(solver.attempts(), 33);
    EXPECT_EQ(solver.history().size(), 33);
    EXPECT_EQ(solver.history().last(), QStringLiteral("      33     -      3"));
}

// --- Reviewing -------------------------------------------------------------------------------

TEST(GridSolverReviewTest, ACellClickShowsTheHintAndNeverOpensTheKeyboard)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    ASSERT_TRUE(solver.selectCell(1));
    ASSERT_TRUE(solver.isKeyboardShown());

    solver.finishCheck(); // hides the keyboard first
    EXPECT_FALSE(solver.isKeyboardShown());

    for (int cell : {2, 42, 1}) {
        EXPECT_FALSE(solver.selectCell(cell));
        EXPECT_EQ(solver.selectedCell(), cell);
        EXPECT_FALSE(solver.isKeyboardShown());
        EXPECT_EQ(text(solver.cluePaneText()), text(Hint));
        EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ResultStyle);
    }

    // A key cannot write in Reviewing.
    solver.pressLetterKey(keyFor(QStringLiteral("к")));
    EXPECT_EQ(solver.enteredLetter(1), QString());

    // The hint stays until "назад".
    solver.backToSolving();
    EXPECT_EQ(solver.cluePaneText(), Clues);
}

TEST(GridSolverReviewTest, TheHintKeepsAChangedFontSize)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    solver.finishCheck();
    solver.setClueFontSize(16);
    solver.selectCell(3);
    EXPECT_EQ(solver.cluePaneText(), Hint);
    EXPECT_EQ(solver.cluePaneStyle().fontSize, 16);
    EXPECT_EQ(solver.cluePaneStyle().alignment, GridSolver::Alignment::Centre);
}

// --- Keys ------------------------------------------------------------------------------------

TEST(GridSolverKeyTest, EraseKeyClearsAndCloseKeyOnlyCloses)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    enter(solver, 1, QStringLiteral("к"));

    ASSERT_TRUE(solver.selectCell(1));
    solver.pressLetterKey(GridGeometry::CloseKey);
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.enteredLetter(1), QStringLiteral("к"));

    ASSERT_TRUE(solver.selectCell(1));
    solver.pressLetterKey(GridGeometry::EraseKey);
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.enteredLetter(1), QString());

    // An erased cell is a mistake.
    solver.finishCheck();
    EXPECT_EQ(solver.mark(1), Mark::Wrong);
}

TEST(GridSolverKeyTest, TheLastKeyPressedWinsAndEveryKeyClosesTheKeyboard)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    for (int key = 1; key <= 32; ++key) {
        ASSERT_TRUE(solver.selectCell(2));
        solver.pressLetterKey(key);
        EXPECT_FALSE(solver.isKeyboardShown());
        EXPECT_EQ(solver.enteredLetter(2), GridGeometry::letterKeyCaption(key));
    }
    EXPECT_EQ(solver.enteredLetter(2), QStringLiteral("я"));
    EXPECT_EQ(solver.enteredLetter(1), QString());
}

TEST(GridSolverKeyTest, AKeyWritesIntoTheCellSelectedLast)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    ASSERT_TRUE(solver.selectCell(1));
    ASSERT_TRUE(solver.selectCell(3)); // the keyboard just moves
    EXPECT_TRUE(solver.isKeyboardShown());
    solver.pressLetterKey(keyFor(QStringLiteral("т")));
    EXPECT_EQ(solver.enteredLetter(3), QStringLiteral("т"));
    EXPECT_EQ(solver.enteredLetter(1), QString());
}

TEST(GridSolverKeyTest, HideKeyboardClosesItWithoutWriting)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    solver.hideKeyboard(); // already hidden: nothing
    EXPECT_FALSE(solver.isKeyboardShown());
    ASSERT_TRUE(solver.selectCell(1));
    solver.hideKeyboard();
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.enteredLetter(1), QString());
}

// --- Keyboard placement ------------------------------------------------------------------------

TEST(GridSolverKeyboardTest, KeyboardRisesForTheBottomRows)
{
    // Letters in cells 0, 319 (row 15, column 19), 320 (row 16), 379 (row 18, column 19),
    // 380 and 399 (row 19).
    GridSolver solver;
    // clang-format off
    solver.loadPuzzle(boardFromRows({
        "а",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "...................б",
        "в",
        "",
        "...................г",
        "д..................е",
    }));
    // clang-format on

    const std::pair<int, TwipPoint> expected[] = {
        {0, {120, 360}},     {319, {8670, 7560}}, {320, {120, 6915}},
        {379, {8670, 7875}}, {380, {120, 7905}},  {399, {8670, 7905}},
    };
    for (const auto &[cell, position] : expected) {
        ASSERT_TRUE(solver.isPlayable(cell)) << cell;
        EXPECT_TRUE(solver.selectCell(cell)) << cell;
        EXPECT_TRUE(solver.isKeyboardShown());
        EXPECT_EQ(solver.keyboardPosition(), position) << cell;
        EXPECT_EQ(solver.keyboardPosition(), GridGeometry::letterKeyboardPosition(cell));
    }
}

// --- Calls the window never makes -----------------------------------------------------------

TEST(GridSolverDefensiveTest, SolvedIgnoresCellsKeysAndButtons)
{
    GridSolver solver;
    solver.loadPuzzle(boardFromRows({"ум"}));
    enter(solver, 0, QStringLiteral("у"));
    enter(solver, 1, QStringLiteral("м"));
    solver.finishCheck();
    ASSERT_EQ(solver.state(), State::Solved);
    const int selected = solver.selectedCell();

    EXPECT_FALSE(solver.selectCell(0));
    EXPECT_EQ(solver.selectedCell(), selected);
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.cluePaneText(), Success);
    solver.pressLetterKey(keyFor(QStringLiteral("а")));
    solver.pressLetterKey(GridGeometry::EraseKey);
    solver.finishCheck();
    solver.backToSolving();

    EXPECT_EQ(solver.state(), State::Solved);
    EXPECT_EQ(solver.enteredLetter(0), QStringLiteral("у"));
    EXPECT_EQ(solver.enteredLetter(1), QStringLiteral("м"));
    EXPECT_EQ(solver.attempts(), 1);
    EXPECT_EQ(solver.history().size(), 1);
    EXPECT_EQ(solver.cluePaneText(), Success);
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ResultStyle);
    EXPECT_FALSE(solver.isCellEnabled(0));
}

TEST(GridSolverDefensiveTest, AKeyWhileTheKeyboardIsClosedDoesNothing)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    enter(solver, 1, QStringLiteral("к"));
    solver.pressLetterKey(keyFor(QStringLiteral("б")));
    solver.pressLetterKey(GridGeometry::EraseKey);
    EXPECT_EQ(solver.enteredLetter(1), QStringLiteral("к"));
    EXPECT_FALSE(solver.isKeyboardShown());
}

TEST(GridSolverDefensiveTest, DisabledButtonsDoNothing)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    solver.setClueFontSize(14);
    solver.backToSolving(); // Solving: "назад" is disabled
    EXPECT_EQ(solver.state(), State::Solving);
    EXPECT_EQ(solver.cluePaneText(), Clues);
    EXPECT_EQ(solver.cluePaneStyle().fontSize, 14);

    solver.finishCheck();
    ASSERT_EQ(solver.state(), State::Reviewing);
    solver.selectCell(1);
    solver.finishCheck(); // Reviewing: "закончить" is disabled
    EXPECT_EQ(solver.attempts(), 1);
    EXPECT_EQ(solver.mistakes(), 5);
    EXPECT_EQ(solver.history().size(), 1);
    EXPECT_EQ(solver.cluePaneText(), Hint);
    EXPECT_EQ(solver.state(), State::Reviewing);

    // Back in Solving, a second "назад" must not empty a refilled wrong cell.
    solver.backToSolving();
    enter(solver, 1, QStringLiteral("к"));
    ASSERT_EQ(solver.mark(1), Mark::Wrong);
    solver.backToSolving();
    EXPECT_EQ(solver.enteredLetter(1), QStringLiteral("к"));
}

TEST(GridSolverDefensiveTest, HiddenCellsTakeNoClicks)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    EXPECT_FALSE(solver.selectCell(0));
    EXPECT_FALSE(solver.isKeyboardShown());
    EXPECT_EQ(solver.selectedCell(), 0);
    EXPECT_FALSE(solver.selectCell(399));
    EXPECT_EQ(solver.selectedCell(), 0);

    solver.finishCheck();
    EXPECT_FALSE(solver.selectCell(0));
    EXPECT_EQ(solver.cluePaneText(), failure(QStringLiteral(" 5")));
}

TEST(GridSolverDefensiveTest, IndexesOutsideTheGridStopTheProgram)
{
    GridSolver solver;
    EXPECT_DEATH(solver.selectCell(400), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.selectCell(-1), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.enteredLetter(400), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.mark(-1), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.isCellEnabled(400), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.isPlayable(400), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.cellNumber(-1), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(solver.pressLetterKey(0), TestPlatform::deathMessage("does not exist"));
    EXPECT_DEATH(solver.pressLetterKey(35), TestPlatform::deathMessage("does not exist"));
}

// --- Clue pane font size ---------------------------------------------------------------------

TEST(GridSolverFontTest, TheFontCommandChangesOnlyTheSize)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());
    solver.setClueFontSize(14);
    EXPECT_EQ(solver.cluePaneStyle(),
              (GridSolver::PaneStyle{GridSolver::Alignment::Left, 14, {0, 0, 0}}));
    EXPECT_EQ(solver.cluePaneText(), Clues);
}

TEST(GridSolverFontTest, ChecksBackAndLoadingResetTheSize)
{
    GridSolver solver;
    solver.loadPuzzle(catAndMouse());

    solver.setClueFontSize(18);
    solver.finishCheck();
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ResultStyle);

    solver.setClueFontSize(14);
    EXPECT_EQ(solver.cluePaneStyle(),
              (GridSolver::PaneStyle{GridSolver::Alignment::Centre, 14, {0, 0, 255}}));
    solver.backToSolving();
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);

    solver.setClueFontSize(16);
    solver.loadPuzzle(catAndMouse());
    EXPECT_EQ(solver.cluePaneStyle(), GridSolver::ClueStyle);

    // A solved crossword keeps the result style and still takes the font command.
    solver.loadPuzzle(CrosswordDocument());
    solver.finishCheck();
    solver.setClueFontSize(18);
    EXPECT_EQ(solver.cluePaneStyle().fontSize, 18);
    EXPECT_EQ(solver.cluePaneStyle().alignment, GridSolver::Alignment::Centre);
}
