#include "gridwords.h"

int GridWord::cell(int position) const
{
    const int step = direction == Direction::Across ? 1 : CrosswordDocument::Columns;
    return startCell + position * step;
}

int GridWord::numberValue() const
{
    return GridWords::numberValue(number);
}

GridWords::GridWords(const CrosswordDocument &document)
{
    // Across runs row by row, then down runs; within each, start cells come in reading order.
    const auto collect = [&](GridWord::Direction direction) {
        QList<GridWord> found;
        const bool across = direction == GridWord::Direction::Across;
        for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
            const int row = CrosswordDocument::rowOf(cell);
            const int column = CrosswordDocument::columnOf(cell);
            if (!document.isPlayable(cell))
                continue;
            const bool continuesRun =
                across ? column > 0 && document.isPlayable(cell - 1)
                       : row > 0 && document.isPlayable(cell - CrosswordDocument::Columns);
            if (continuesRun)
                continue;
            GridWord word;
            word.startCell = cell;
            word.direction = direction;
            word.number = document.number(cell);
            const int limit =
                across ? CrosswordDocument::Columns - column : CrosswordDocument::Rows - row;
            while (word.length < limit && document.isPlayable(word.cell(word.length))) {
                word.letters += document.letter(word.cell(word.length));
                ++word.length;
            }
            if (word.length >= 2)
                found.append(word);
        }
        return found;
    };
    m_words = collect(GridWord::Direction::Across);
    m_words.append(collect(GridWord::Direction::Down));
}

QList<GridWord> GridWords::across() const
{
    QList<GridWord> result;
    for (const GridWord &word : m_words) {
        if (word.direction == GridWord::Direction::Across)
            result.append(word);
    }
    return result;
}

QList<GridWord> GridWords::down() const
{
    QList<GridWord> result;
    for (const GridWord &word : m_words) {
        if (word.direction == GridWord::Direction::Down)
            result.append(word);
    }
    return result;
}

bool GridWords::startsWord(int cell) const
{
    for (const GridWord &word : m_words) {
        if (word.startCell == cell)
            return true;
    }
    return false;
}

int GridWords::numberValue(const QString &number)
{
    if (number.isEmpty() || number.size() > 2)
        return -1;
    int value = 0;
    for (const QChar c : number) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}
