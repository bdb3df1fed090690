#include "gridpreview.h"

#include <QPainter>

GridPreview::GridPreview(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void GridPreview::setCrossword(const CrosswordDocument &crossword)
{
    m_crossword = crossword;
    update();
}

QSize GridPreview::sizeHint() const
{
    return {CrosswordDocument::Columns * CellSize + 1, CrosswordDocument::Rows * CellSize + 1};
}

void GridPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(200, 200, 200));
    QFont letterFont = font();
    letterFont.setPixelSize(CellSize * 11 / 18);
    letterFont.setBold(true);
    QFont numberFont = font();
    numberFont.setPixelSize(CellSize * 6 / 18);
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!m_crossword.isPlayable(cell))
            continue;
        const QRect square(CrosswordDocument::columnOf(cell) * CellSize,
                           CrosswordDocument::rowOf(cell) * CellSize, CellSize, CellSize);
        painter.fillRect(square, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(square);
        painter.setFont(numberFont);
        painter.drawText(square.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         m_crossword.number(cell));
        painter.setFont(letterFont);
        painter.drawText(square.adjusted(0, 2, 0, 0), Qt::AlignCenter,
                         m_crossword.letter(cell).toUpper());
    }
}
