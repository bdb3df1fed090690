#include "gridwords.h"
#include "boardtext.h"

#include <gtest/gtest.h>

namespace {

using Direction = GridWord::Direction;

int at(int row, int column)
{
    return CrosswordDocument::indexOf(row, column);
}

} // namespace

TEST(GridWordsTest, FindsRunsOfTwoOrMoreAcrossThenDownInReadingOrder)
{
    // м . .
    // о к о
    // р . т
    // е
    const CrosswordDocument document = boardFromRows(
        {"м..", "око", "р.т", "е.."}, {{at(0, 0), "1"}, {at(1, 0), "2"}, {at(1, 2), "3"}});
    const GridWords words(document);
    ASSERT_EQ(words.words().size(), 3);

    const GridWord &across = words.words()[0];
    EXPECT_EQ(across.direction, Direction::Across);
    EXPECT_EQ(across.startCell, at(1, 0));
    EXPECT_EQ(across.length, 3);
    EXPECT_EQ(across.letters, QStringLiteral("око"));
    EXPECT_EQ(across.number, QStringLiteral("2"));

    EXPECT_EQ(words.words()[1].letters, QStringLiteral("море"));
    EXPECT_EQ(words.words()[1].direction, Direction::Down);
    EXPECT_EQ(words.words()[1].number, QStringLiteral("1"));
    EXPECT_EQ(words.words()[1].cell(3), at(3, 0));
    EXPECT_EQ(words.words()[2].letters, QStringLiteral("от"));
    EXPECT_EQ(words.words()[2].startCell, at(1, 2));

    EXPECT_EQ(words.across().size(), 1);
    EXPECT_EQ(words.down().size(), 2);
    EXPECT_TRUE(words.startsWord(at(0, 0)));
    EXPECT_TRUE(words.startsWord(at(1, 2)));
    EXPECT_FALSE(words.startsWord(at(1, 1))) << "inside the across word only";
    EXPECT_FALSE(words.startsWord(at(3, 0)));
}

TEST(GridWordsTest, LoneCellsAndEmptyGridsHoldNoWords)
{
    EXPECT_TRUE(GridWords(CrosswordDocument()).words().isEmpty());
    EXPECT_TRUE(GridWords(boardFromRows({"к.к", "...", "к"})).words().isEmpty());
}

TEST(GridWordsTest, RunsStopAtTheEdgesInsteadOfWrappingIntoTheNextRowOrColumn)
{
    CrosswordDocument document;
    // The last two cells of row 0 and the first two of row 1 are neighbours in
    // cell order but two separate words.
    document.setLetter(18, QStringLiteral("д"));
    document.setLetter(19, QStringLiteral("а"));
    document.setLetter(20, QStringLiteral("н"));
    document.setLetter(21, QStringLiteral("о"));
    // A full bottom-right column end and a full last row.
    for (int column = 0; column < CrosswordDocument::Columns; ++column)
        document.setLetter(at(19, column), QStringLiteral("я"));
    document.setLetter(at(18, 19), QStringLiteral("я"));

    const GridWords words(document);
    QStringList across;
    for (const GridWord &word : words.across())
        across.append(QString::number(word.startCell) + u':' + word.letters);
    EXPECT_EQ(across, QStringList({"18:да", "20:но", "380:" + QString(20, u'я')}));
    ASSERT_EQ(words.down().size(), 1);
    EXPECT_EQ(words.down()[0].startCell, at(18, 19));
    EXPECT_EQ(words.down()[0].length, 2);
}

TEST(GridWordsTest, HandEditedValuesAreKeptAsStored)
{
    CrosswordDocument document = boardFromRows({"ab"}, {{0, "05"}});
    document.setLetter(1, QStringLiteral("bc"));
    const GridWords words(document);
    ASSERT_EQ(words.words().size(), 1);
    EXPECT_EQ(words.words()[0].letters, QStringLiteral("abc"));
    EXPECT_EQ(words.words()[0].length, 2);
    EXPECT_EQ(words.words()[0].number, QStringLiteral("05"));
    EXPECT_EQ(words.words()[0].numberValue(), 5);
}

TEST(GridWordsTest, NumberValueAcceptsOnlyOneOrTwoDigits)
{
    EXPECT_EQ(GridWords::numberValue(QStringLiteral("7")), 7);
    EXPECT_EQ(GridWords::numberValue(QStringLiteral("05")), 5);
    EXPECT_EQ(GridWords::numberValue(QStringLiteral("99")), 99);
    for (const char *bad : {"", "100", "1a", " 1", "-1", "٣"})
        EXPECT_EQ(GridWords::numberValue(QString::fromUtf8(bad)), -1) << bad;
}
