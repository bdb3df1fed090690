#include "crosswordmaker.h"

#include "cluetext.h"
#include "crosswordcheck.h"
#include "crosswordfile.h"
#include "grideditor.h"
#include "gridgeometry.h"
#include "gridsolver.h"
#include "gridwords.h"
#include "wordlist.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <set>
#include <tuple>

namespace {

using Direction = CrosswordMaker::Direction;
using Reason = CrosswordMaker::Reason;

QList<CrosswordMaker::Word> wordsOf(const QStringList &answers)
{
    QList<CrosswordMaker::Word> words;
    for (const QString &answer : answers)
        words.append({answer, QStringLiteral("Вопрос к слову %1.").arg(answer)});
    return words;
}

QList<CrosswordMaker::Word> listFile(const char *name)
{
    WordList list;
    QString error;
    const QString path = QStringLiteral(WORD_LISTS_DIR "/") + QString::fromLatin1(name);
    EXPECT_TRUE(WordList::read(path, &list, &error)) << error.toStdString();
    EXPECT_TRUE(list.problems().isEmpty()) << name;
    QList<CrosswordMaker::Word> words;
    for (const WordList::Entry &entry : list.entries())
        words.append({entry.answer, entry.clue});
    return words;
}

int cellOf(const CrosswordMaker::Placement &p)
{
    return CrosswordDocument::indexOf(p.row, p.column);
}

// Everything a made crossword promises, checked against the grid as the check
// command reads it rather than against the maker's own bookkeeping.
void expectValidCrossword(const CrosswordMaker &maker, const CrosswordMaker::Result &result)
{
    const CrosswordDocument &document = result.document;
    const QList<CrosswordMaker::Word> &words = maker.words();

    // Every run of two or more letters is exactly one placed word, and back.
    using Key = std::tuple<int, bool, QString>;
    std::set<Key> inGrid;
    const GridWords gridWords(document);
    for (const GridWord &word : gridWords.words())
        inGrid.insert(
            {word.startCell, word.direction == GridWord::Direction::Across, word.letters});
    std::set<Key> placed;
    for (const CrosswordMaker::Placement &p : result.placed)
        placed.insert({cellOf(p), p.direction == Direction::Across, words[p.word].answer});
    EXPECT_EQ(inGrid, placed);
    EXPECT_EQ(result.placed.size() + result.unplaced.size(), words.size());

    // Numbers 1, 2, 3... on exactly the starting cells, in reading order.
    int expected = 0;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (gridWords.startsWord(cell))
            EXPECT_EQ(document.number(cell), QString::number(++expected)) << "cell " << cell;
        else
            EXPECT_EQ(document.number(cell), QString()) << "cell " << cell;
    }
    EXPECT_LE(expected, CrosswordMaker::MaxNumbers);
    for (const CrosswordMaker::Placement &p : result.placed)
        EXPECT_EQ(document.number(cellOf(p)), QString::number(p.number));

    // All placed words hang together.
    QList<int> reached;
    QSet<int> seen;
    for (int cell = 0; cell < CrosswordDocument::CellCount && reached.isEmpty(); ++cell) {
        if (document.isPlayable(cell)) {
            reached.append(cell);
            seen.insert(cell);
        }
    }
    for (qsizetype i = 0; i < reached.size(); ++i) {
        const int row = CrosswordDocument::rowOf(reached[i]);
        const int column = CrosswordDocument::columnOf(reached[i]);
        for (auto [r, c] : {std::pair{row - 1, column},
                            {row + 1, column},
                            {row, column - 1},
                            {row, column + 1}}) {
            if (r < 0 || c < 0 || r >= CrosswordDocument::Rows || c >= CrosswordDocument::Columns)
                continue;
            const int next = CrosswordDocument::indexOf(r, c);
            if (document.isPlayable(next) && !seen.contains(next)) {
                seen.insert(next);
                reached.append(next);
            }
        }
    }
    int playable = 0;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
        playable += document.isPlayable(cell);
    EXPECT_EQ(reached.size(), playable);

    // The clues in the usual form, each under its word's number.
    const ClueText clues = ClueText::parse(document.clueText());
    EXPECT_TRUE(clues.isUsualForm());
    QList<std::pair<int, QString>> across;
    QList<std::pair<int, QString>> down;
    for (const CrosswordMaker::Placement &p : result.placed)
        (p.direction == Direction::Across ? across : down).append({p.number, words[p.word].clue});
    std::sort(across.begin(), across.end());
    std::sort(down.begin(), down.end());
    QList<std::pair<int, QString>> readAcross;
    QList<std::pair<int, QString>> readDown;
    for (const Clue &clue : clues.across())
        readAcross.append({clue.number, clue.text});
    for (const Clue &clue : clues.down())
        readDown.append({clue.number, clue.text});
    EXPECT_EQ(readAcross, across);
    EXPECT_EQ(readDown, down);

    const CrosswordCheck check(document);
    EXPECT_TRUE(check.problems().isEmpty()) << check.problems().join(u'\n').toStdString();
}

int keyFor(const QString &letter)
{
    for (int key = 1; key <= GridGeometry::LetterKeyCount; ++key) {
        if (GridGeometry::letterKeyCaption(key) == letter)
            return key;
    }
    return -1;
}

bool isNoWorse(const CrosswordMaker::Result &a, const CrosswordMaker::Result &b)
{
    return std::tuple(a.placed.size(), a.crossings, -a.width * a.height) >=
           std::tuple(b.placed.size(), b.crossings, -b.width * b.height);
}

} // namespace

TEST(CrosswordMakerTest, MakesValidCrosswordsFromEveryListWithAnySeed)
{
    for (const char *name : {"words20.txt", "words40.txt", "words60.txt"}) {
        const CrosswordMaker maker(listFile(name));
        for (quint64 seed : {1, 2, 3, 1000}) {
            SCOPED_TRACE(std::string(name) + " seed " + std::to_string(seed));
            // Every attempt is valid, so the number of tries does not matter
            // here; a hundred keep the run short under the sanitizers.
            expectValidCrossword(maker, maker.make(seed, 100));
        }
    }
}

TEST(CrosswordMakerTest, MadeCrosswordReadsBackAndSolvesInBothWindowsRules)
{
    const CrosswordMaker maker(listFile("words20.txt"));
    const CrosswordMaker::Result result = maker.make(1);

    QByteArray bytes;
    CrosswordFileError error;
    ASSERT_TRUE(CrosswordFile::encode(result.document, &bytes, &error))
        << error.message().toStdString();
    CrosswordDocument read;
    ASSERT_TRUE(CrosswordFile::decode(bytes, &read, &error));
    EXPECT_EQ(read, result.document);

    // The pupil enters every answer from the letter keyboard and is done.
    GridSolver solver;
    solver.loadPuzzle(read);
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!solver.isPlayable(cell))
            continue;
        const int key = keyFor(read.letter(cell));
        ASSERT_GT(key, 0) << "no key for the letter of cell " << cell;
        ASSERT_TRUE(solver.selectCell(cell));
        solver.pressLetterKey(key);
    }
    solver.finishCheck();
    EXPECT_EQ(solver.state(), GridSolver::State::Solved);
    EXPECT_EQ(solver.mistakes(), 0);

    // The teacher opens it for finishing touches and gets it back unchanged.
    GridEditor editor;
    editor.loadDocument(read);
    EXPECT_EQ(editor.toDocument(read.clueText()), read);
}

TEST(CrosswordMakerTest, PlacesAllOfTheTwentyWordListAndMostOfTheForty)
{
    const CrosswordMaker twenty(listFile("words20.txt"));
    EXPECT_TRUE(twenty.make(1).unplaced.isEmpty());
    const CrosswordMaker forty(listFile("words40.txt"));
    EXPECT_GE(forty.make(1).placed.size(), 36);
}

TEST(CrosswordMakerTest, SameSeedGivesTheSameCrosswordAndOtherSeedsOtherLayouts)
{
    const CrosswordMaker maker(listFile("words20.txt"));
    const CrosswordMaker::Result first = maker.make(5, 10);
    EXPECT_EQ(maker.make(5, 10).document, first.document);

    QSet<QString> layouts;
    for (quint64 seed = 1; seed <= 5; ++seed) {
        const CrosswordDocument document = maker.make(seed, 10).document;
        QString letters;
        for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
            letters += document.isPlayable(cell) ? document.letter(cell) : QStringLiteral(".");
        layouts.insert(letters);
    }
    EXPECT_EQ(layouts.size(), 5);
}

TEST(CrosswordMakerTest, MoreTriesNeverMakeAWorseCrossword)
{
    const CrosswordMaker maker(listFile("words40.txt"));
    const CrosswordMaker::Result one = maker.make(3, 1);
    const CrosswordMaker::Result ten = maker.make(3, 10);
    const CrosswordMaker::Result fifty = maker.make(3, 50);
    EXPECT_TRUE(isNoWorse(ten, one));
    EXPECT_TRUE(isNoWorse(fifty, ten));
    // Zero or negative tries still make one attempt.
    EXPECT_EQ(maker.make(3, 0).document, one.document);
}

TEST(CrosswordMakerTest, ReportsWhyAWordFoundNoPlace)
{
    // "щи" shares no letter with "кот"; one attempt starts with the longer word.
    {
        const CrosswordMaker maker(wordsOf({QStringLiteral("кот"), QStringLiteral("щи")}));
        const CrosswordMaker::Result result = maker.make(1, 1);
        ASSERT_EQ(result.unplaced.size(), 1);
        EXPECT_EQ(result.unplaced[0].word, 1);
        EXPECT_EQ(result.unplaced[0].reason, Reason::NoCommonLetter);
        expectValidCrossword(maker, result);
    }
    // Two 20-letter words can only meet at their first letters, filling the
    // grid's top row and left column; "яб" would have to cross "б" going up or
    // left, out of the grid. (With more tries a smaller layout of the first
    // word and "яб" wins, which places as many words; the first attempt takes
    // the longest words first, in their order.)
    {
        const QString first = QStringLiteral("абвгдежзийклмнопрсту");
        const QString second = QStringLiteral("а") + QString(19, u'ф');
        const CrosswordMaker maker(wordsOf({first, second, QStringLiteral("яб")}));
        const CrosswordMaker::Result result = maker.make(1, 1);
        EXPECT_EQ(result.width, 20);
        EXPECT_EQ(result.height, 20);
        ASSERT_EQ(result.unplaced.size(), 1);
        EXPECT_EQ(result.unplaced[0].word, 2);
        EXPECT_EQ(result.unplaced[0].reason, Reason::NoRoom);
        expectValidCrossword(maker, result);
    }
}

TEST(CrosswordMakerTest, LeavesOutAWordLongerThanTheGridInsteadOfLeavingTheGrid)
{
    const CrosswordMaker maker(wordsOf({QStringLiteral("кот"), QString(21, u'к')}));
    const CrosswordMaker::Result result = maker.make(1);
    ASSERT_EQ(result.unplaced.size(), 1);
    EXPECT_EQ(result.unplaced[0].word, 1);
    EXPECT_EQ(result.unplaced[0].reason, Reason::NoRoom);
}

TEST(CrosswordMakerTest, StopsAtNinetyNineNumbers)
{
    // Hundreds of short words from a few letters: far more than 99 could start.
    QStringList answers;
    const QString letters = QStringLiteral("аоеиук");
    for (QChar a : letters) {
        for (QChar b : letters) {
            answers.append(QString(a) + b);
            for (QChar c : letters)
                answers.append(QString(a) + b + c);
        }
    }
    const CrosswordMaker maker(wordsOf(answers));
    const CrosswordMaker::Result result = maker.make(1, 5);
    expectValidCrossword(maker, result);
    EXPECT_EQ(result.placed.back().number, CrosswordMaker::MaxNumbers);
    EXPECT_TRUE(std::any_of(
        result.unplaced.begin(), result.unplaced.end(),
        [](const CrosswordMaker::Unplaced &u) { return u.reason == Reason::NumbersUsedUp; }));
}

TEST(CrosswordMakerTest, AcrossAndDownWordsStartingOnOneCellShareItsNumber)
{
    // "кот" and "кит" cross either on their first letters or on their last.
    const CrosswordMaker maker(wordsOf({QStringLiteral("кот"), QStringLiteral("кит")}));
    bool sharedSeen = false;
    for (quint64 seed = 1; seed <= 40 && !sharedSeen; ++seed) {
        const CrosswordMaker::Result result = maker.make(seed, 1);
        expectValidCrossword(maker, result);
        ASSERT_EQ(result.placed.size(), 2);
        if (cellOf(result.placed[0]) != cellOf(result.placed[1]))
            continue;
        sharedSeen = true;
        const QString across = maker.words()[result.placed[0].word].clue;
        const QString down = maker.words()[result.placed[1].word].clue;
        EXPECT_EQ(result.placed[0].direction, Direction::Across);
        EXPECT_EQ(result.document.clueText(),
                  QStringLiteral("По горизонтали:\r\n1. %1\r\n\r\nПо вертикали:\r\n1. %2")
                      .arg(across, down));
    }
    EXPECT_TRUE(sharedSeen);
}
