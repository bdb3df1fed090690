#pragma once

#include "keypanel.h"

// The pop-up number pad Frame2: digit keys Command4(1..10), the clear key 11
// and key 12, which shows the number being typed on a light yellow face.
class NumberPad : public KeyPanel
{
    Q_OBJECT

public:
    explicit NumberPad(QWidget *parent = nullptr);

    void setDisplay(const QString &text);
};
