#pragma once

#include <QAccessibleWidget>

class GridCursor;

// A window's client area before a screen reader: its controls, with the grid
// as one object instead of 800 labels, most of them not in the crossword.
class ClientAreaAccessible : public QAccessibleWidget
{
public:
    explicit ClientAreaAccessible(QWidget *area);

    // The grid of an area, or nullptr for an area without one.
    static GridCursor *gridCursorOf(const QWidget *area);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> shownChildren() const;
};
