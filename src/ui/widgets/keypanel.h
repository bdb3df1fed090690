#pragma once

#include "gridgeometry.h"

#include <QFrame>
#include <QList>

class QPushButton;

// A pop-up panel filled edge to edge by numbered keys, hidden until opened.
// Keys are an array: they share one object name and carry their number.
class KeyPanel : public QFrame
{
    Q_OBJECT

public:
    QPushButton *key(int index) const;
    // Moves the panel's top-left corner (twips of the window's client area).
    void moveTo(TwipPoint position);

signals:
    void keyClicked(int index);

protected:
    KeyPanel(const QString &panelName, TwipRect designRect, QWidget *parent);
    // Keys are numbered from 1 in the order they are added.
    QPushButton *addKey(const QString &arrayName, TwipRect rect, const QFont &font,
                        const QString &caption);

private:
    QList<QPushButton *> m_keys;
};
