#include "cluetext.h"

#include <gtest/gtest.h>

namespace {

QList<int> numbers(const QList<Clue> &clues)
{
    QList<int> result;
    for (const Clue &clue : clues)
        result.append(clue.number);
    return result;
}

} // namespace

TEST(ClueTextTest, SplitsTheUsualFormIntoAcrossAndDownClues)
{
    const ClueText clues = ClueText::parse(
        QStringLiteral("По горизонтали:\r\n1. Домашнее животное.\r\n3.   Большая река.  \r\n"
                       "\r\nПо вертикали:\r\n2. Столица России.\r\n"));
    ASSERT_TRUE(clues.isUsualForm());
    EXPECT_EQ(numbers(clues.across()), QList<int>({1, 3}));
    EXPECT_EQ(clues.across()[0].text, QStringLiteral("Домашнее животное."));
    EXPECT_EQ(clues.across()[1].text, QStringLiteral("Большая река."));
    EXPECT_EQ(clues.across()[1].line, 3);
    ASSERT_EQ(clues.down().size(), 1);
    EXPECT_EQ(clues.down()[0], (Clue{2, QStringLiteral("Столица России."), 6}));
    EXPECT_EQ(clues.strayLine(), 0);
}

TEST(ClueTextTest, AcceptsEitherOrderOneHeadingAndOtherLineBreaks)
{
    const ClueText downFirst =
        ClueText::parse(QStringLiteral("По вертикали:\n12. Вниз.\rПо горизонтали:\n7. Вправо."));
    ASSERT_TRUE(downFirst.isUsualForm());
    EXPECT_EQ(numbers(downFirst.across()), QList<int>({7}));
    EXPECT_EQ(numbers(downFirst.down()), QList<int>({12}));

    const ClueText acrossOnly = ClueText::parse(QStringLiteral("  По горизонтали:  \r\n1.Кот."));
    ASSERT_TRUE(acrossOnly.isUsualForm());
    EXPECT_EQ(acrossOnly.across().size(), 1);
    EXPECT_EQ(acrossOnly.across()[0].text, QStringLiteral("Кот."));
    EXPECT_TRUE(acrossOnly.down().isEmpty());
}

TEST(ClueTextTest, AnythingElseIsFreeFormAndNamesTheLineThatBreaksTheForm)
{
    struct Case
    {
        const char *text;
        int strayLine;
    };
    const Case cases[] = {
        {"Кроссворд о школе\r\nПо горизонтали:\r\n1. Кот.", 1},          // a title first
        {"По горизонтали:\r\n1. Очень длинный\r\nвопрос.", 3},           // a clue wrapped
        {"По горизонтали:\r\n1) Кот.", 2},                               // another numbering
        {"По горизонтали:\r\n1.5 метра.", 2},                            // a decimal, not a number
        {"По горизонтали:\r\n1. Кот.\r\nПо горизонтали:\r\n2. Пёс.", 3}, // a heading twice
        {"по горизонтали:\r\n1. Кот.", 1},                               // not the heading
        {"1. Кот.\r\n2. Пёс.", 1},                                       // no heading at all
    };
    for (const Case &c : cases) {
        const ClueText clues = ClueText::parse(QString::fromUtf8(c.text));
        EXPECT_FALSE(clues.isUsualForm()) << c.text;
        EXPECT_EQ(clues.strayLine(), c.strayLine) << c.text;
        EXPECT_TRUE(clues.across().isEmpty()) << c.text;
        EXPECT_EQ(clues.text(), QString::fromUtf8(c.text));
    }
    EXPECT_FALSE(ClueText::parse(QString()).isUsualForm());
    EXPECT_FALSE(ClueText::parse(QStringLiteral("\r\n\r\n")).isUsualForm());
}

TEST(ClueTextTest, ComposedTextReadsBackAsTheSameClues)
{
    const QList<Clue> across = {{1, QStringLiteral("Домашнее животное."), 0},
                                {4, QStringLiteral("Скидка 50% в %1 магазине."), 0},
                                {5, QStringLiteral("1990 год."), 0}};
    const QList<Clue> down = {{2, QStringLiteral("Столица России."), 0}};
    const QString text = ClueText::compose(across, down);
    EXPECT_EQ(text, QStringLiteral("По горизонтали:\r\n1. Домашнее животное.\r\n"
                                   "4. Скидка 50% в %1 магазине.\r\n5. 1990 год.\r\n\r\n"
                                   "По вертикали:\r\n2. Столица России."));
    const ClueText clues = ClueText::parse(text);
    ASSERT_TRUE(clues.isUsualForm());
    ASSERT_EQ(clues.across().size(), 3);
    EXPECT_EQ(clues.across()[1].text, across[1].text);
    // A clue may itself start with a number.
    EXPECT_EQ(clues.across()[2].text, across[2].text);
    EXPECT_EQ(clues.down()[0].text, down[0].text);
}
