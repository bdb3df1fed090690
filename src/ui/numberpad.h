#pragma once

#include "gridgeometry.h"

#include <QFrame>

class QPushButton;

// The pop-up number pad Frame2: digit keys Command4(1..10), the clear key 11
// and key 12, which shows the number being typed on a light yellow face.
class NumberPad : public QFrame
{
    Q_OBJECT

public:
    explicit NumberPad(QWidget *parent = nullptr);

    QPushButton *key(int index) const;
    void setDisplay(const QString &text);
    void moveTo(TwipPoint position);

signals:
    void keyClicked(int index);

private:
    QPushButton *m_keys[GridGeometry::PadKeyCount] = {};
};
