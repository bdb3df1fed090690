#pragma once

#include <QAccessibleWidget>

class SpokenStatus;

// A SpokenStatus before a screen reader: the status bar, and inside it the
// notification named by the words said last.
class SpokenStatusAccessible : public QAccessibleWidget
{
public:
    // The status bar itself, or its message widget.
    explicit SpokenStatusAccessible(QWidget *widget);

    QString text(QAccessible::Text t) const override;

private:
    const SpokenStatus *status() const;
};
