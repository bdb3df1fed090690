#include "crosswordcheck.h"
#include "boardtext.h"
#include "toolboards.h"

#include <gtest/gtest.h>

namespace {

int at(int row, int column)
{
    return CrosswordDocument::indexOf(row, column);
}

} // namespace

TEST(CrosswordCheckTest, ACleanCrosswordHasNoProblemsAndListsItsWords)
{
    const CrosswordCheck check(cleanCrossword());
    EXPECT_TRUE(check.problems().isEmpty()) << check.problems().join(u'\n').toStdString();
    EXPECT_TRUE(check.notes().isEmpty());
    EXPECT_EQ(check.wordList(), QStringList({"3 по горизонтали: школа (строка 3, столбец 2)",
                                             "4 по горизонтали: тетрадь (строка 6, столбец 6)",
                                             "1 по вертикали: рука (строка 1, столбец 3)",
                                             "2 по вертикали: газета (строка 2, столбец 6)"}));
}

TEST(CrosswordCheckTest, ReportsEachKindOfProblemOncePerPlaceInReadingOrder)
{
    CrosswordDocument document = cleanCrossword();
    document.setNumber(at(5, 5), QString());           // тетрадь loses its number
    document.setNumber(at(3, 2), QStringLiteral("7")); // inside рука
    document.setNumber(at(8, 8), QStringLiteral("9")); // on a blank square
    document.setLetter(at(8, 0), QStringLiteral("х")); // a letter in no word
    document.setNumber(at(2, 1), QStringLiteral("1")); // школа numbered like рука
    document.setLetter(at(6, 5), QStringLiteral("ё")); // not on the letter keyboard
    document.setClueText(cleanClueText() + QStringLiteral("5. Лишний вопрос."));

    const CrosswordCheck check(document);
    EXPECT_EQ(
        check.problems(),
        QStringList({
            "Слово «тетрадь» по горизонтали (строка 6, столбец 6) начинается в клетке без номера.",
            "Номер 7 в клетке (строка 4, столбец 3): здесь не начинается ни одно слово.",
            "Номер 9 стоит на пустой клетке (строка 9, столбец 9): в ней нет буквы, и ученик его "
            "не увидит.",
            "Буква «х» в клетке (строка 9, столбец 1) не входит ни в одно слово.",
            "Номер 1 стоит в 2 клетках: строка 1, столбец 3; строка 3, столбец 2.",
            "Для слова 1 по горизонтали («школа») в тексте нет вопроса.",
            "Вопрос 3 по горизонтали (строка 2 текста): в сетке нет слова по горизонтали с этим "
            "номером.",
            "Вопрос 4 по горизонтали (строка 3 текста): в сетке нет слова по горизонтали с этим "
            "номером.",
            "Вопрос 5 по вертикали (строка 8 текста): в сетке нет слова по вертикали с этим "
            "номером.",
            "В клетке (строка 7, столбец 6) записано «ё», а не одна строчная буква от «а» до «я» "
            "без «ё»: ученик не сможет это ввести.",
        }));

    // Each problem leads to what mends it: a number, a letter or a line of the clues.
    std::vector<std::tuple<int, bool, int>> places;
    for (const CrosswordCheck::Finding &finding : check.findings())
        places.emplace_back(finding.cell, finding.number, finding.clueLine);
    EXPECT_EQ(places, (decltype(places){{at(5, 5), true, 0},
                                        {at(3, 2), true, 0},
                                        {at(8, 8), true, 0},
                                        {at(8, 0), false, 0},
                                        {at(2, 1), true, 0},
                                        {at(2, 1), true, 0},
                                        {-1, false, 2},
                                        {-1, false, 3},
                                        {-1, false, 8},
                                        {at(6, 5), false, 0}}));
}

TEST(CrosswordCheckTest, CluesMatchByDirectionAndNumbersByValue)
{
    // Clue 1 exists, but across; the down word 1 still lacks its clue. "05" and
    // "5" are the same number to a pupil.
    const CrosswordDocument document = boardFromRows(
        {"кот", "и..", "т.я", "..к"}, {{at(0, 0), "1"}, {at(2, 2), "05"}, {at(0, 2), "5"}},
        QStringLiteral(
            "По горизонтали:\r\n1. Мурлычет.\r\n1. Ещё раз.\r\nПо вертикали:\r\n5. Якорь."));
    const CrosswordCheck check(document);
    EXPECT_EQ(check.problems(),
              QStringList({"Номер 5 в клетке (строка 1, столбец 3): здесь не начинается ни одно "
                           "слово.",
                           "Номер 5 стоит в 2 клетках: строка 1, столбец 3; строка 3, столбец 3.",
                           "Вопрос 1 по горизонтали повторяется (строка 3 текста).",
                           "Для слова 1 по вертикали («кит») в тексте нет вопроса."}));
}

TEST(CrosswordCheckTest, FreeFormOrMissingCluesAreANoteNotAProblem)
{
    CrosswordDocument document = cleanCrossword();
    document.setClueText(QStringLiteral("Кроссворд о школе\r\n1. Ею пишут."));
    CrosswordCheck check(document);
    EXPECT_TRUE(check.problems().isEmpty());
    ASSERT_EQ(check.notes().size(), 1);
    EXPECT_TRUE(check.notes()[0].contains(QStringLiteral("строка 1 текста")))
        << check.notes()[0].toStdString();

    document.setClueText(QStringLiteral("\r\n"));
    EXPECT_EQ(CrosswordCheck(document).notes(),
              QStringList({"Примечание: текста вопросов нет, сверять номера не с чем."}));
}

TEST(CrosswordCheckTest, HandEditedValuesArePrintedSafely)
{
    // Terminal control sequences stay inert, "%1"-like text is not expanded,
    // and a huge value is cut.
    CrosswordDocument document = boardFromRows({"к"});
    document.setLetter(1, QStringLiteral("\x1b[2J"));
    document.setNumber(0, QStringLiteral("%2"));
    document.setNumber(1, QStringLiteral("%2"));
    document.setLetter(2, QString(5000, u'ж'));
    const CrosswordCheck check(document);
    const QString all = check.problems().join(u'\n');
    EXPECT_FALSE(all.contains(QChar(0x1b)));
    EXPECT_TRUE(all.contains(QStringLiteral("«U+001B[2J»"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Номер «%2» в клетке (строка 1, столбец 1)")))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Номер %2 стоит в 2 клетках: строка 1, столбец 1; "
                                            "строка 1, столбец 2.")))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QString(24, u'ж') + QStringLiteral("…»")));
    EXPECT_FALSE(all.contains(QString(25, u'ж')));
}
