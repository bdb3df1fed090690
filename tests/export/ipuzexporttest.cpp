#include "ipuzexport.h"
#include "boardtext.h"
#include "toolboards.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonObject exported(const CrosswordDocument &document, const QString &title = QStringLiteral("x"))
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(IpuzExport::toJson(document, title), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return json.object();
}

QJsonValue cellOf(const QJsonObject &root, const char *grid, int row, int column)
{
    return root.value(QLatin1String(grid)).toArray().at(row).toArray().at(column);
}

} // namespace

TEST(IpuzExportTest, WritesTheFullGridWithBlocksNumbersAndSolution)
{
    // The file format's worked example: "кот" in cells 1 to 3, number 1 on cell 1.
    const CrosswordDocument document =
        boardFromRows({".кот"}, {{1, "1"}, {25, "7"}},
                      QStringLiteral("По горизонтали:\r\n1. Домашнее животное."));
    const QJsonObject root = exported(document, QStringLiteral("Кот"));

    EXPECT_EQ(root.value("kind").toArray(), QJsonArray({"http://ipuz.org/crossword#1"}));
    EXPECT_EQ(root.value("version").toString(), QStringLiteral("http://ipuz.org/v2"));
    EXPECT_EQ(root.value("title").toString(), QStringLiteral("Кот"));
    EXPECT_EQ(root.value("dimensions").toObject(), QJsonObject({{"width", 20}, {"height", 20}}));

    const QJsonArray puzzle = root.value("puzzle").toArray();
    const QJsonArray solution = root.value("solution").toArray();
    ASSERT_EQ(puzzle.size(), 20);
    ASSERT_EQ(solution.size(), 20);
    for (int row = 0; row < 20; ++row) {
        ASSERT_EQ(puzzle.at(row).toArray().size(), 20);
        ASSERT_EQ(solution.at(row).toArray().size(), 20);
    }
    EXPECT_TRUE(cellOf(root, "puzzle", 0, 0).isNull());
    EXPECT_EQ(cellOf(root, "puzzle", 0, 1), QJsonValue(1));
    EXPECT_EQ(cellOf(root, "puzzle", 0, 2), QJsonValue(0));
    EXPECT_EQ(cellOf(root, "puzzle", 0, 3), QJsonValue(0));
    EXPECT_TRUE(cellOf(root, "puzzle", 1, 5).isNull()) << "a number on a blank square stays hidden";
    EXPECT_TRUE(cellOf(root, "solution", 0, 0).isNull());
    EXPECT_EQ(cellOf(root, "solution", 0, 1), QJsonValue("К"));
    EXPECT_EQ(cellOf(root, "solution", 0, 3), QJsonValue("Т"));
    EXPECT_TRUE(cellOf(root, "solution", 19, 19).isNull());

    const QJsonObject clues = root.value("clues").toObject();
    EXPECT_EQ(clues.value("Across").toArray(), QJsonArray({QJsonArray({1, "Домашнее животное."})}));
    EXPECT_EQ(clues.value("Down").toArray(), QJsonArray());
    EXPECT_FALSE(root.contains("notes"));
}

TEST(IpuzExportTest, SplitsTheCluesOfTheSchoolCrossword)
{
    const QJsonObject root = exported(cleanCrossword());
    const QJsonObject clues = root.value("clues").toObject();
    EXPECT_EQ(clues.value("Across").toArray(),
              QJsonArray(
                  {QJsonArray({3, "Там учатся дети."}), QJsonArray({4, "В ней пишут на уроке."})}));
    EXPECT_EQ(clues.value("Down").toArray(),
              QJsonArray({QJsonArray({1, "Ею пишут."}),
                          QJsonArray({2, "Её читают по утрам, чтобы узнать новости."})}));
    EXPECT_EQ(cellOf(root, "puzzle", 5, 5), QJsonValue(4));
    EXPECT_EQ(cellOf(root, "solution", 5, 11), QJsonValue("Ь"));
}

TEST(IpuzExportTest, FreeFormCluesGoWholeToTheNotesAsHtml)
{
    // Fault mended: the notes went out raw, and ipuz strings are HTML, so a
    // rendering reader dropped "<b>...</b>" and ran the lines together.
    CrosswordDocument document = cleanCrossword();
    document.setClueText(QStringLiteral(
        "Кроссворд «Школа» <b>не разметка</b> & co\r\n1) Ею пишут.\r\n\r\n\"Кавычки\" \\ и ✓"));
    const QJsonObject root = exported(document);
    EXPECT_EQ(root.value("notes").toString(),
              QStringLiteral("Кроссворд «Школа» &lt;b&gt;не разметка&lt;/b&gt; &amp; co<br/>1) Ею "
                             "пишут.<br/><br/>\"Кавычки\" \\ и ✓"));
    EXPECT_TRUE(root.value("clues").toObject().isEmpty());
}

TEST(IpuzExportTest, CluesAndTitleAreEscapedAsHtml)
{
    // Fault mended: "<мяу>" was written raw and vanished in a reader that renders it.
    const CrosswordDocument document =
        boardFromRows({".кот"}, {{1, "1"}},
                      QStringLiteral("По горизонтали:\r\n1. Говорит <мяу> & мурлычет."));
    const QJsonObject root = exported(document, QStringLiteral("Кот & <пёс>"));
    EXPECT_EQ(root.value("title").toString(), QStringLiteral("Кот &amp; &lt;пёс&gt;"));
    EXPECT_EQ(root.value("clues").toObject().value("Across").toArray(),
              QJsonArray({QJsonArray({1, "Говорит &lt;мяу&gt; &amp; мурлычет."})}));
}

TEST(IpuzExportTest, ExportsOnlyNumbersOfOneOrTwoDigitsAndSingleLetters)
{
    // Fault mended: "<b>9</b>", "123" and two-letter cells went out as cell
    // labels and rebus answers from a crossword that check rejects. Such a
    // cell stays in the grid as a plain square (0) with no answer given (0).
    const struct
    {
        QString letter;
        QString number;
        QJsonValue puzzle;
        QJsonValue solution;
    } cases[] = {
        {"к", "05", 5, "К"},
        {"к", "99", 99, "К"},
        {"к", "0", 0, "К"},
        {"к", "123", 0, "К"},
        {"к", "<b>9</b>", 0, "К"},
        {"к", "x", 0, "К"},
        {"ё", "", 0, "Ё"},
        {"аб", "1", 1, 0},
        {"7", "", 0, 0},
        {"<", "", 0, 0},
    };
    CrosswordDocument document;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        document.setLetter(i, cases[i].letter);
        document.setNumber(i, cases[i].number);
    }
    const QJsonObject root = exported(document);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].letter.toStdString() + " " + cases[i].number.toStdString());
        EXPECT_EQ(cellOf(root, "puzzle", 0, i), cases[i].puzzle);
        EXPECT_EQ(cellOf(root, "solution", 0, i), cases[i].solution);
    }
    EXPECT_FALSE(root.contains("notes")) << "no clue text, nothing to note";
}
