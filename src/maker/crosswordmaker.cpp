#include "crosswordmaker.h"

#include "cluetext.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <limits>

namespace {

using Direction = CrosswordMaker::Direction;
using Reason = CrosswordMaker::Reason;

constexpr int Size = CrosswordMaker::Size;
// Words are laid out on a larger canvas with the first one in the middle, and
// the box around the letters is kept within Size x Size; so the layout can grow
// in any direction and never reaches the canvas edge.
constexpr int Canvas = 3 * Size;

// splitmix64: small, fast, and the same sequence on every compiler and library.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / double(1ull << 53)); }

    int below(int n) { return int(next() % quint64(n)); }

private:
    quint64 m_state;
};

struct Box
{
    int top = Canvas;
    int left = Canvas;
    int bottom = -1; // inclusive
    int right = -1;

    bool isEmpty() const { return bottom < top; }
    int width() const { return isEmpty() ? 0 : right - left + 1; }
    int height() const { return isEmpty() ? 0 : bottom - top + 1; }
    int area() const { return width() * height(); }

    Box with(int row, int column, int rowEnd, int columnEnd) const
    {
        return {std::min(top, row), std::min(left, column), std::max(bottom, rowEnd),
                std::max(right, columnEnd)};
    }
};

struct Spot
{
    int row = 0;
    int column = 0;
    Direction direction = Direction::Across;
};

// Why a spot was refused, kept to explain a word that found no place.
enum class Refusal { None, NoRoom, NumbersUsedUp };

// One layout being built on the canvas.
class Attempt
{
public:
    explicit Attempt(const QList<CrosswordMaker::Word> &words) : m_words(&words)
    {
        m_letter.fill(0);
        m_across.fill(false);
        m_down.fill(false);
        m_start.fill(false);
    }

    bool isEmpty() const { return m_placed.isEmpty(); }
    int placedCount() const { return int(m_placed.size()); }
    int crossings() const { return m_crossings; }
    const Box &box() const { return m_box; }
    const QList<std::pair<int, Spot>> &placed() const { return m_placed; }

    // The number of crossings the word would make at spot, or -1 with the reason.
    int test(int word, const Spot &spot, Refusal *refusal) const
    {
        const QString &answer = (*m_words)[word].answer;
        const int length = int(answer.size());
        const bool across = spot.direction == Direction::Across;
        const int dr = across ? 0 : 1;
        const int dc = across ? 1 : 0;
        const int endRow = spot.row + dr * (length - 1);
        const int endColumn = spot.column + dc * (length - 1);
        if (spot.row < 1 || spot.column < 1 || endRow > Canvas - 2 || endColumn > Canvas - 2) {
            *refusal = Refusal::NoRoom;
            return -1;
        }
        // No word may continue this one at either end.
        if (letterAt(spot.row - dr, spot.column - dc) || letterAt(endRow + dr, endColumn + dc)) {
            *refusal = Refusal::NoRoom;
            return -1;
        }
        int crossings = 0;
        for (int i = 0; i < length; ++i) {
            const int r = spot.row + dr * i;
            const int c = spot.column + dc * i;
            const int cell = r * Canvas + c;
            if (m_letter[cell]) {
                // Only a word of the other direction may be crossed, on an equal letter.
                if (m_letter[cell] != answer[i].unicode() || (across ? m_across : m_down)[cell]) {
                    *refusal = Refusal::NoRoom;
                    return -1;
                }
                ++crossings;
            } else if (letterAt(r - dc, c - dr) || letterAt(r + dc, c + dr)) {
                // A new letter beside another word would make a run that is no word.
                *refusal = Refusal::NoRoom;
                return -1;
            }
        }
        if (!isEmpty() && crossings == 0) {
            *refusal = Refusal::NoRoom;
            return -1;
        }
        const Box grown = m_box.with(spot.row, spot.column, endRow, endColumn);
        if (grown.width() > Size || grown.height() > Size) {
            *refusal = Refusal::NoRoom;
            return -1;
        }
        if (!m_start[spot.row * Canvas + spot.column] && m_numbers == CrosswordMaker::MaxNumbers) {
            *refusal = Refusal::NumbersUsedUp;
            return -1;
        }
        *refusal = Refusal::None;
        return crossings;
    }

    void place(int word, const Spot &spot, int crossings)
    {
        const QString &answer = (*m_words)[word].answer;
        const int length = int(answer.size());
        const bool across = spot.direction == Direction::Across;
        const int dr = across ? 0 : 1;
        const int dc = across ? 1 : 0;
        for (int i = 0; i < length; ++i) {
            const int cell = (spot.row + dr * i) * Canvas + spot.column + dc * i;
            if (!m_letter[cell])
                m_cells.append(cell);
            m_letter[cell] = answer[i].unicode();
            (across ? m_across : m_down)[cell] = true;
        }
        const int start = spot.row * Canvas + spot.column;
        if (!m_start[start]) {
            m_start[start] = true;
            ++m_numbers;
        }
        m_box = m_box.with(spot.row, spot.column, spot.row + dr * (length - 1),
                           spot.column + dc * (length - 1));
        m_crossings += crossings;
        m_placed.append({word, spot});
    }

    // The best of the spots where the word would cross a placed letter.
    bool bestSpot(int word, Random &random, Spot *best, int *bestCrossings, Refusal *why) const
    {
        const QString &answer = (*m_words)[word].answer;
        const int length = int(answer.size());
        double bestScore = -std::numeric_limits<double>::infinity();
        bool found = false;
        bool numbersOnly = false;
        for (int cell : m_cells) {
            // A crossing cell is taken both ways already.
            if (m_across[cell] && m_down[cell])
                continue;
            const Direction direction = m_across[cell] ? Direction::Down : Direction::Across;
            const bool across = direction == Direction::Across;
            const int row = cell / Canvas;
            const int column = cell % Canvas;
            for (int i = 0; i < length; ++i) {
                if (answer[i].unicode() != m_letter[cell])
                    continue;
                const Spot spot{across ? row : row - i, across ? column - i : column, direction};
                Refusal refusal = Refusal::None;
                const int crossings = test(word, spot, &refusal);
                if (crossings < 0) {
                    numbersOnly = numbersOnly || refusal == Refusal::NumbersUsedUp;
                    continue;
                }
                const double value = score(spot, length, crossings) + random.unit();
                if (value > bestScore) {
                    bestScore = value;
                    *best = spot;
                    *bestCrossings = crossings;
                    found = true;
                }
            }
        }
        if (!found)
            *why = numbersOnly ? Refusal::NumbersUsedUp : Refusal::NoRoom;
        return found;
    }

private:
    // Crossings count most; then a layout that stays compact and square.
    double score(const Spot &spot, int length, int crossings) const
    {
        const bool across = spot.direction == Direction::Across;
        const Box grown = m_box.with(spot.row, spot.column, spot.row + (across ? 0 : length - 1),
                                     spot.column + (across ? length - 1 : 0));
        const int growth = grown.area() - m_box.area();
        const int imbalance = std::abs(grown.width() - grown.height());
        return 10.0 * crossings - 0.05 * growth - 0.5 * imbalance;
    }

    char16_t letterAt(int row, int column) const
    {
        if (row < 0 || column < 0 || row >= Canvas || column >= Canvas)
            return 0;
        return m_letter[row * Canvas + column];
    }

    const QList<CrosswordMaker::Word> *m_words;
    std::array<char16_t, Canvas * Canvas> m_letter;
    std::array<bool, Canvas * Canvas> m_across;
    std::array<bool, Canvas * Canvas> m_down;
    std::array<bool, Canvas * Canvas> m_start;
    QList<std::pair<int, Spot>> m_placed;
    QList<int> m_cells; // lettered cells, in the order they were filled
    Box m_box;
    int m_crossings = 0;
    int m_numbers = 0;
};

// The order in which one attempt offers the words: the first attempt takes
// the longest first (the list's order among equal lengths), the others a
// shuffled order that only leans towards long words. Shuffled orders fit more
// words of a long list, since they let short words in before long ones fill
// the grid.
QList<int> wordOrder(const QList<CrosswordMaker::Word> &words, int attempt, Random &random)
{
    // A word longer than the grid never fits; it is reported as finding no room.
    QList<int> order;
    for (int i = 0; i < words.size(); ++i) {
        if (!words[i].answer.isEmpty() && words[i].answer.size() <= Size)
            order.append(i);
    }
    QList<double> key(words.size());
    const double shake = attempt == 0 ? 0.0 : 20.0;
    for (int i : std::as_const(order))
        key[i] = double(words[i].answer.size()) + shake * random.unit();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[a] > key[b]; });
    return order;
}

bool isBetter(const Attempt &a, const Attempt &b)
{
    if (a.placedCount() != b.placedCount())
        return a.placedCount() > b.placedCount();
    if (a.crossings() != b.crossings())
        return a.crossings() > b.crossings();
    return a.box().area() < b.box().area();
}

struct Outcome
{
    Attempt layout;
    QHash<int, Refusal> refused;
};

Outcome runAttempt(const QList<CrosswordMaker::Word> &words, int attempt, quint64 seed)
{
    Random random(seed ^ (quint64(attempt + 1) * 0xD1B54A32D192ED03ull));
    Outcome outcome{Attempt(words), {}};
    Attempt &layout = outcome.layout;
    QList<int> waiting = wordOrder(words, attempt, random);
    if (waiting.isEmpty())
        return outcome;

    const int first = waiting.takeFirst();
    const int length = int(words[first].answer.size());
    const bool across = attempt == 0 || random.below(2) == 0;
    const int middle = Canvas / 2;
    const Spot start = across ? Spot{middle, middle - length / 2, Direction::Across}
                              : Spot{middle - length / 2, middle, Direction::Down};
    layout.place(first, start, 0);

    // A word that finds no place may find one once later words are in.
    bool progress = true;
    while (progress && !waiting.isEmpty()) {
        progress = false;
        QList<int> still;
        for (int word : std::as_const(waiting)) {
            Spot spot;
            int crossings = 0;
            Refusal why = Refusal::None;
            if (layout.bestSpot(word, random, &spot, &crossings, &why)) {
                layout.place(word, spot, crossings);
                outcome.refused.remove(word);
                progress = true;
            } else {
                outcome.refused.insert(word, why);
                still.append(word);
            }
        }
        waiting = still;
    }
    return outcome;
}

bool sharesLetter(const QString &a, const QString &b)
{
    for (QChar c : a) {
        if (b.contains(c))
            return true;
    }
    return false;
}

} // namespace

CrosswordMaker::Result CrosswordMaker::make(quint64 seed, int tries, const Progress &progress) const
{
    tries = std::clamp(tries, 1, MaxTries);
    Outcome best = runAttempt(m_words, 0, seed);
    for (int attempt = 1; attempt < tries; ++attempt) {
        if (progress)
            progress(attempt, tries);
        Outcome next = runAttempt(m_words, attempt, seed);
        if (isBetter(next.layout, best.layout))
            best = std::move(next);
    }
    if (progress)
        progress(tries, tries);

    Result result;
    const Attempt &layout = best.layout;
    const Box &box = layout.box();
    result.width = box.width();
    result.height = box.height();
    result.crossings = layout.crossings();

    // Centre the layout on the grid.
    const int rowShift = (Size - box.height()) / 2 - box.top;
    const int columnShift = (Size - box.width()) / 2 - box.left;
    QList<bool> isPlaced(m_words.size(), false);
    for (const auto &[word, spot] : layout.placed()) {
        Placement p;
        p.word = word;
        p.row = spot.row + rowShift;
        p.column = spot.column + columnShift;
        p.direction = spot.direction;
        result.placed.append(p);
        isPlaced[word] = true;
    }

    // Numbers in reading order of the starting cells.
    std::sort(result.placed.begin(), result.placed.end(),
              [](const Placement &a, const Placement &b) {
                  const int cellA = a.row * Size + a.column;
                  const int cellB = b.row * Size + b.column;
                  if (cellA != cellB)
                      return cellA < cellB;
                  return a.direction == Direction::Across && b.direction == Direction::Down;
              });
    int number = 0;
    int lastCell = -1;
    for (Placement &p : result.placed) {
        const int cell = p.row * Size + p.column;
        if (cell != lastCell)
            ++number;
        lastCell = cell;
        p.number = number;
    }

    for (int word = 0; word < m_words.size(); ++word) {
        if (isPlaced[word])
            continue;
        Reason reason = Reason::NoRoom;
        bool common = false;
        for (const Placement &p : std::as_const(result.placed))
            common = common || sharesLetter(m_words[word].answer, m_words[p.word].answer);
        if (!common)
            reason = Reason::NoCommonLetter;
        else if (best.refused.value(word, Refusal::NoRoom) == Refusal::NumbersUsedUp)
            reason = Reason::NumbersUsedUp;
        result.unplaced.append({word, reason});
    }

    CrosswordDocument &document = result.document;
    for (const Placement &p : std::as_const(result.placed)) {
        const QString &answer = m_words[p.word].answer;
        const bool across = p.direction == Direction::Across;
        for (int i = 0; i < answer.size(); ++i) {
            const int cell =
                CrosswordDocument::indexOf(p.row + (across ? 0 : i), p.column + (across ? i : 0));
            document.setLetter(cell, answer.sliced(i, 1));
        }
        document.setNumber(CrosswordDocument::indexOf(p.row, p.column), QString::number(p.number));
    }
    document.setClueText(clueText(m_words, result.placed));
    return result;
}

QString CrosswordMaker::clueText(const QList<Word> &words, const QList<Placement> &placed)
{
    QList<Clue> across;
    QList<Clue> down;
    for (const Placement &p : placed) {
        Clue clue;
        clue.number = p.number;
        clue.text = words[p.word].clue;
        (p.direction == Direction::Across ? across : down).append(clue);
    }
    const auto byNumber = [](const Clue &a, const Clue &b) { return a.number < b.number; };
    std::stable_sort(across.begin(), across.end(), byNumber);
    std::stable_sort(down.begin(), down.end(), byNumber);
    return ClueText::compose(across, down);
}
