#pragma once

#include "crossworddocument.h"

#include <QWidget>

// A small picture of the whole 20 x 20 grid: the crossword's cells white with
// their letters and numbers, the others grey. Nothing is clickable.
class GridPreview : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellSize = 18;

    explicit GridPreview(QWidget *parent = nullptr);

    void setCrossword(const CrosswordDocument &crossword);
    const CrosswordDocument &crossword() const { return m_crossword; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CrosswordDocument m_crossword;
};
