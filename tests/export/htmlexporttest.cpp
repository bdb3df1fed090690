#include "htmlexport.h"

#include "boardtext.h"
#include "gridgeometry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The crossword's data as the page's script reads it.
QJsonObject pageData(const QByteArray &page)
{
    const QRegularExpression element(
        QStringLiteral("<script type=\"application/json\" id=\"crossword\">(.*?)</script>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = element.match(QString::fromUtf8(page));
    EXPECT_TRUE(match.hasMatch());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(match.captured(1).toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return json.object();
}

} // namespace

TEST(HtmlExportTest, ThePageHoldsNoAnswerAndOnlyTheAnswerKeyMatchesEachCell)
{
    // к о т across, о м down from the о; "Ж" and "ко" are answers no key types.
    CrosswordDocument document =
        boardFromRows({".кот", "..о", "..м", "Ж"}, {{1, "1"}, {2, "2"}, {77, "9"}},
                      QStringLiteral("1. Домашнее животное.\r\n2. Ком."));
    document.setLetter(79, QStringLiteral("ко"));
    const QJsonObject data = pageData(HtmlExport::toHtml(document, QStringLiteral("Кот")));

    // The grid cut to rows 0..3 and columns 0..19, numbers only on playable cells.
    EXPECT_EQ(data.value("firstRow").toInt(), 0);
    EXPECT_EQ(data.value("rows").toInt(), 4);
    EXPECT_EQ(data.value("firstColumn").toInt(), 0);
    EXPECT_EQ(data.value("columns").toInt(), 20);
    const QString salt = data.value("salt").toString();
    const QJsonArray cells = data.value("cells").toArray();
    QList<int> indexes;
    for (const QJsonValue &value : cells) {
        const QJsonArray cell = value.toArray();
        const int index = cell.at(0).toInt();
        indexes.append(index);
        EXPECT_EQ(cell.at(1).toString(), document.number(index)) << index;
        const QString &answer = document.letter(index);
        if (answer == QStringLiteral("Ж") || answer == QStringLiteral("ко")) {
            EXPECT_TRUE(cell.at(2).isNull()) << index;
            continue;
        }
        // Exactly one key press of the 33 (letters and erase) gives the stored value.
        const auto check = quint32(cell.at(2).toInteger());
        int matches = HtmlExport::checkValue(salt, index, QString()) == check;
        for (int key = 1; key <= 32; ++key) {
            const QString letter = GridGeometry::letterKeyCaption(key);
            if (HtmlExport::checkValue(salt, index, letter) == check) {
                ++matches;
                EXPECT_EQ(letter, answer) << index;
            }
        }
        EXPECT_EQ(matches, 1) << index;
    }
    EXPECT_EQ(indexes, (QList<int>{1, 2, 3, 22, 42, 60, 79}));
    EXPECT_EQ(HtmlExport::unmatchableCells(document), (QList<int>{60, 79}));

    // No answer letter anywhere in the data but in the clues and the title.
    QJsonObject withoutText = data;
    withoutText.remove("clues");
    withoutText.remove("title");
    const QString rest = QString::fromUtf8(QJsonDocument(withoutText).toJson());
    EXPECT_FALSE(rest.contains(QRegularExpression(QStringLiteral("[а-яёА-ЯЁ]"))))
        << rest.toStdString();
}

TEST(HtmlExportTest, TheSameCrosswordMakesTheSamePageAndAnotherCrosswordAnotherStorageKey)
{
    const CrosswordDocument cat = boardFromRows({"кот"}, {{0, "1"}});
    const CrosswordDocument dog = boardFromRows({"пёс"}, {{0, "1"}});
    CrosswordDocument otherClues = cat;
    otherClues.setClueText(QStringLiteral("1. Мурлычет."));

    const QByteArray page = HtmlExport::toHtml(cat, QStringLiteral("Кот"));
    EXPECT_EQ(HtmlExport::toHtml(cat, QStringLiteral("Кот")), page);
    const QString key = pageData(page).value("key").toString();
    EXPECT_EQ(key.size(), 16);
    // The pupil's letters are kept per crossword, whatever its file is called.
    EXPECT_EQ(pageData(HtmlExport::toHtml(cat, QStringLiteral("Копия"))).value("key"), key);
    for (const CrosswordDocument &other : {dog, otherClues})
        EXPECT_NE(pageData(HtmlExport::toHtml(other, QStringLiteral("Кот"))).value("key"), key);
}

TEST(HtmlExportTest, CombiningMarksBeyondFourOnOneLetterAreLeftOutOfThePage)
{
    const QString stress(1, u'\u0301');
    const QString tremolo = QString::fromUcs4(U"\U0001D167"); // a mark outside the BMP
    CrosswordDocument document = boardFromRows(
        {"кот"}, {{0, "1" + stress.repeated(6)}},
        "уда" + stress + "р" + stress.repeated(9) + "\r\nк" + tremolo.repeated(5) + "!");
    const QString title = "Кот" + stress.repeated(5);
    const QJsonObject data = pageData(HtmlExport::toHtml(document, title));
    EXPECT_EQ(data.value("clues").toString(),
              "уда" + stress + "р" + stress.repeated(4) + "\r\nк" + tremolo.repeated(4) + "!");
    EXPECT_EQ(data.value("title").toString(), "Кот" + stress.repeated(4));
    EXPECT_EQ(data.value("cells").toArray().at(0).toArray().at(1).toString(),
              "1" + stress.repeated(4));
    EXPECT_EQ(HtmlExport::droppedCombiningMarks(document, title), 5 + 1 + 1 + 2);
}
