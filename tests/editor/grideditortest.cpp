#include "grideditor.h"

#include "boardtext.h"
#include "gridgeometry.h"
#include "testplatform.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Keys are found by caption, so the tests press what the teacher would see.
int padKey(QChar digit)
{
    for (int key = 1; key <= GridGeometry::PadKeyCount; ++key) {
        if (GridGeometry::padKeyCaption(key) == digit)
            return key;
    }
    ADD_FAILURE() << "no pad key for " << QString(digit).toStdString();
    return 0;
}

int letterKey(const QString &caption)
{
    for (int key = 1; key <= GridGeometry::LetterKeyCount; ++key) {
        if (GridGeometry::letterKeyCaption(key) == caption)
            return key;
    }
    ADD_FAILURE() << "no letter key for " << caption.toStdString();
    return 0;
}

// The pad display after each digit, joined by '|'.
QString typeDigits(GridEditor &editor, const QString &digits)
{
    QStringList displays;
    for (QChar digit : digits) {
        editor.pressPadKey(padKey(digit));
        displays << editor.padDisplay();
    }
    return displays.join(u'|');
}

int shownCount(const GridEditor &editor)
{
    int count = 0;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
        count += editor.isShown(cell) ? 1 : 0;
    return count;
}

} // namespace

TEST(GridEditorTest, StartsWithAnEmptyShownGridAndBothPopupsClosedAtTheirDesignPlaces)
{
    const GridEditor editor;
    EXPECT_EQ(editor.toDocument({}), CrosswordDocument());
    EXPECT_EQ(shownCount(editor), CrosswordDocument::CellCount);
    EXPECT_FALSE(editor.isLetterKeyboardShown());
    EXPECT_FALSE(editor.isNumberPadShown());
    EXPECT_EQ(editor.selectedCell(), 0);
    EXPECT_EQ(editor.padDisplay(), QString());
    EXPECT_EQ(editor.letterKeyboardPosition(), (TwipPoint{120, 1200}));
    EXPECT_EQ(editor.numberPadPosition(), (TwipPoint{120, 3840}));
}

TEST(GridEditorTest, PadKeysTypeAtMostTwoDigitsAndAThirdStartsANewNumber)
{
    GridEditor editor;
    editor.openNumberPad(5);
    EXPECT_EQ(typeDigits(editor, "123"), "1|12|3");
    editor.pressPadKey(GridGeometry::PadClearKey);
    EXPECT_EQ(typeDigits(editor, "07"), "0|07");
    editor.pressPadKey(GridGeometry::PadDisplayKey);
    EXPECT_EQ(editor.number(5), "07");
    EXPECT_EQ(editor.padDisplay(), QString());
    EXPECT_FALSE(editor.isNumberPadShown());
}

TEST(GridEditorTest, PadTypingContinuesFromTheCellsOwnNumber)
{
    GridEditor editor;
    editor.loadDocument(boardFromRows({}, {{1, "7"}, {2, "12"}}));
    editor.openNumberPad(1);
    EXPECT_EQ(typeDigits(editor, "5"), "75");
    editor.openNumberPad(2);
    EXPECT_EQ(typeDigits(editor, "5"), "5");
}

TEST(GridEditorTest, ApplyingTheDisplayStoresItEvenWhenClearedOrUntouched)
{
    GridEditor editor;
    editor.loadDocument(boardFromRows({}, {{1, "7"}, {2, "12"}}));
    editor.openNumberPad(1);
    editor.pressPadKey(GridGeometry::PadClearKey);
    editor.pressPadKey(GridGeometry::PadDisplayKey);
    EXPECT_EQ(editor.number(1), QString());

    editor.openNumberPad(2);
    editor.pressPadKey(GridGeometry::PadDisplayKey);
    EXPECT_EQ(editor.number(2), "12");
}

TEST(GridEditorTest, DigitsLeaveALongerNumberFromAFileAloneAndOtherKeysStillWork)
{
    GridEditor editor;
    editor.loadDocument(boardFromRows({}, {{3, "123"}}));
    editor.openNumberPad(3);
    EXPECT_EQ(typeDigits(editor, "45"), "123|123");
    editor.pressPadKey(0);
    editor.pressPadKey(GridGeometry::PadKeyCount + 1);
    EXPECT_EQ(editor.padDisplay(), "123");
    EXPECT_TRUE(editor.isNumberPadShown());
    editor.pressPadKey(GridGeometry::PadClearKey);
    EXPECT_EQ(typeDigits(editor, "4"), "4");
}

TEST(GridEditorTest, EveryLetterKeyClosesTheKeyboardAndWritesAtMostOneLetter)
{
    GridEditor editor;
    for (int key = 1; key <= GridGeometry::LetterKeyCount; ++key) {
        if (key == GridGeometry::EraseKey || key == GridGeometry::CloseKey)
            continue;
        editor.openLetterKeyboard(key);
        editor.pressLetterKey(key);
        EXPECT_EQ(editor.letter(key), GridGeometry::letterKeyCaption(key));
        EXPECT_FALSE(editor.isLetterKeyboardShown());
    }
    EXPECT_EQ(editor.letter(32), "я");

    editor.openLetterKeyboard(100);
    editor.pressLetterKey(letterKey("к"));
    editor.pressLetterKey(letterKey("о"));
    EXPECT_EQ(editor.letter(100), "к");

    editor.openLetterKeyboard(100);
    editor.pressLetterKey(GridGeometry::CloseKey);
    EXPECT_EQ(editor.letter(100), "к");
    EXPECT_FALSE(editor.isLetterKeyboardShown());

    editor.openLetterKeyboard(100);
    editor.pressLetterKey(GridGeometry::EraseKey);
    EXPECT_EQ(editor.letter(100), QString());
    EXPECT_FALSE(editor.isLetterKeyboardShown());
}

// A pad hidden by a background click kept "4" in its display; a later key 12
// must not store it.
TEST(GridEditorTest, KeysOfAHiddenPopupChangeNothing)
{
    GridEditor editor;
    editor.loadDocument(boardFromRows({"а"}, {{0, "9"}}));
    editor.openNumberPad(0);
    editor.pressPadKey(GridGeometry::PadClearKey);
    typeDigits(editor, "4");
    editor.hidePopups();
    EXPECT_EQ(editor.padDisplay(), "4");

    editor.pressPadKey(padKey('5'));
    editor.pressPadKey(GridGeometry::PadDisplayKey);
    editor.pressLetterKey(letterKey("я"));
    editor.pressLetterKey(GridGeometry::EraseKey);

    EXPECT_EQ(editor.padDisplay(), "4");
    EXPECT_EQ(editor.number(0), "9");
    EXPECT_EQ(editor.letter(0), "а");
    EXPECT_FALSE(editor.isLetterKeyboardShown());
    EXPECT_FALSE(editor.isNumberPadShown());
}

TEST(GridEditorTest, OpeningOnePopupClosesTheOtherAndSelectsTheCell)
{
    GridEditor editor;
    editor.loadDocument(boardFromRows({}, {{30, "3"}}));
    editor.openLetterKeyboard(21);
    editor.openLetterKeyboard(22);
    EXPECT_TRUE(editor.isLetterKeyboardShown());
    EXPECT_EQ(editor.selectedCell(), 22);
    EXPECT_EQ(editor.letterKeyboardPosition(), GridGeometry::letterKeyboardPosition(22));

    editor.openNumberPad(23);
    EXPECT_FALSE(editor.isLetterKeyboardShown());
    EXPECT_TRUE(editor.isNumberPadShown());
    EXPECT_EQ(editor.selectedCell(), 23);
    typeDigits(editor, "4");

    editor.openLetterKeyboard(24);
    EXPECT_FALSE(editor.isNumberPadShown());
    EXPECT_TRUE(editor.isLetterKeyboardShown());
    EXPECT_EQ(editor.padDisplay(), "4");
    EXPECT_EQ(editor.number(23), QString());

    editor.openNumberPad(30);
    EXPECT_EQ(editor.padDisplay(), "3");
    editor.openNumberPad(31);
    EXPECT_EQ(editor.padDisplay(), QString());
    EXPECT_FALSE(editor.isLetterKeyboardShown());

    editor.hidePopups();
    EXPECT_EQ(editor.selectedCell(), 31);
    EXPECT_EQ(editor.numberPadPosition(), GridGeometry::numberPadPosition(31));
}

TEST(GridEditorTest, KeyboardRisesForTheBottomThreeRowsAndPadOnlyForTheLast)
{
    GridEditor editor;
    const auto keyboardAt = [&editor](int cell) {
        editor.openLetterKeyboard(cell);
        return editor.letterKeyboardPosition();
    };
    EXPECT_EQ(keyboardAt(319), (TwipPoint{8670, 7560}));
    EXPECT_EQ(keyboardAt(320), (TwipPoint{120, 6915}));
    EXPECT_EQ(keyboardAt(379), (TwipPoint{8670, 7875}));
    EXPECT_EQ(keyboardAt(380), (TwipPoint{120, 7905}));
    EXPECT_EQ(keyboardAt(399), (TwipPoint{8670, 7905}));

    const auto padAt = [&editor](int cell) {
        editor.openNumberPad(cell);
        return editor.numberPadPosition();
    };
    EXPECT_EQ(padAt(379).top, 9000);
    EXPECT_EQ(padAt(380).top, 8980);
    EXPECT_EQ(padAt(19).left, 8670);
    EXPECT_EQ(padAt(39).left, 8700);
}

TEST(GridEditorTest, PreviewHidesEveryCellWithoutALetterAndBackShowsAllAgain)
{
    GridEditor editor;
    editor.showPuzzle();
    EXPECT_EQ(shownCount(editor), 0);
    editor.backToGrid();
    EXPECT_EQ(shownCount(editor), CrosswordDocument::CellCount);

    editor.loadDocument(boardFromRows({"кот", ".о"}, {{0, "1"}, {3, "2"}}));
    editor.openNumberPad(3);
    editor.showPuzzle();
    EXPECT_FALSE(editor.isNumberPadShown());
    EXPECT_EQ(shownCount(editor), 4);
    EXPECT_TRUE(editor.isShown(21));
    EXPECT_FALSE(editor.isShown(3)); // numbered, but no letter

    // Shown cells stay editable; an erased one waits for the next preview to hide.
    editor.openLetterKeyboard(21);
    editor.pressLetterKey(GridGeometry::EraseKey);
    EXPECT_TRUE(editor.isShown(21));
    editor.showPuzzle();
    EXPECT_FALSE(editor.isShown(21));

    editor.openLetterKeyboard(0);
    editor.backToGrid();
    EXPECT_FALSE(editor.isLetterKeyboardShown());
    EXPECT_EQ(shownCount(editor), CrosswordDocument::CellCount);
}

TEST(GridEditorTest, LoadingKeepsLayersVerbatimEndsThePreviewAndLeavesPopupsAlone)
{
    CrosswordDocument board = boardFromRows({"кот", ".о"}, {{0, "1"}, {3, "07"}}, "1. Зверь.\r\n");
    board.setLetter(399, "Ab"); // files may hold anything
    board.setNumber(398, "x");

    GridEditor editor;
    editor.showPuzzle();
    editor.openNumberPad(7);
    typeDigits(editor, "5");
    editor.loadDocument(board);

    EXPECT_EQ(editor.toDocument("1. Зверь.\r\n"), board);
    EXPECT_EQ(shownCount(editor), CrosswordDocument::CellCount);
    EXPECT_TRUE(editor.isNumberPadShown());
    EXPECT_EQ(editor.selectedCell(), 7);
    EXPECT_EQ(editor.padDisplay(), "5");
}

TEST(GridEditorDeathTest, CellIndexOutsideTheGridStopsTheProgram)
{
    GridEditor editor;
    EXPECT_DEATH(editor.openLetterKeyboard(CrosswordDocument::CellCount),
                 TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(editor.openNumberPad(-1), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH((void)editor.isShown(CrosswordDocument::CellCount),
                 TestPlatform::deathMessage("outside"));
}
