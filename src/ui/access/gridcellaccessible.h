#pragma once

#include <QAccessibleWidget>
#include <QPointer>

class ClickableLabel;
class GridCursor;

// One cell of the grid before a screen reader: named by its place and what it
// holds, described by the clues of its words; its press action does what a
// click on its letter does.
class GridCellAccessible : public QAccessibleWidget
{
public:
    explicit GridCellAccessible(ClickableLabel *letter);

    QString text(QAccessible::Text t) const override;
    QAccessibleInterface *parent() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    int cell() const;
    // The grid of the cell's window, found at the first question.
    GridCursor *cursor() const;

    mutable QPointer<GridCursor> m_cursor;
};
