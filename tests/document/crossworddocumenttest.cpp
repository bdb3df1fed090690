#include "boardtext.h"
#include "crossworddocument.h"
#include "testplatform.h"

#include <gtest/gtest.h>

TEST(CrosswordDocumentTest, StartsEmptyEverywhere)
{
    const CrosswordDocument document;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        EXPECT_EQ(document.letter(i), QString());
        EXPECT_EQ(document.number(i), QString());
        EXPECT_FALSE(document.isPlayable(i));
    }
    EXPECT_TRUE(document.clueText().isEmpty());
}

TEST(CrosswordDocumentTest, PlayabilityFollowsTheLetterLayerAlone)
{
    CrosswordDocument document = boardFromRows({".к"}, {{0, "7"}, {1, "1"}});
    EXPECT_FALSE(document.isPlayable(0)) << "a number alone does not make a cell playable";
    EXPECT_TRUE(document.isPlayable(1));
    document.setLetter(1, QString());
    EXPECT_FALSE(document.isPlayable(1));
    EXPECT_EQ(document.number(1), QStringLiteral("1"));
}

TEST(CrosswordDocumentTest, RowMajorIndexesWrapEveryTwentyCells)
{
    EXPECT_EQ(CrosswordDocument::rowOf(19), 0);
    EXPECT_EQ(CrosswordDocument::columnOf(19), 19);
    EXPECT_EQ(CrosswordDocument::rowOf(20), 1);
    EXPECT_EQ(CrosswordDocument::columnOf(20), 0);
    EXPECT_EQ(CrosswordDocument::rowOf(399), 19);
    EXPECT_EQ(CrosswordDocument::columnOf(399), 19);
    for (int i = 0; i < CrosswordDocument::CellCount; ++i)
        EXPECT_EQ(CrosswordDocument::indexOf(CrosswordDocument::rowOf(i),
                                             CrosswordDocument::columnOf(i)),
                  i);
}

TEST(CrosswordDocumentDeathTest, AnIndexOutsideTheGridStopsTheProgramInEveryBuild)
{
    CrosswordDocument document;
    EXPECT_DEATH(document.letter(400), TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(document.setNumber(-1, QStringLiteral("1")),
                 TestPlatform::deathMessage("outside"));
    EXPECT_DEATH(CrosswordDocument::indexOf(20, 0), TestPlatform::deathMessage("outside"));
}
