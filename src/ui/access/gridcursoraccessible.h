#pragma once

#include <QAccessibleWidget>

class GridCursor;

// The grid before a screen reader: a group whose children are the cells on
// show, the focused one reported as its focus.
class GridCursorAccessible : public QAccessibleWidget
{
public:
    explicit GridCursorAccessible(GridCursor *cursor);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;

private:
    GridCursor *cursor() const;
};
