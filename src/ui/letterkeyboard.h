#pragma once

#include "gridgeometry.h"

#include <QFrame>

class QPushButton;

// The pop-up letter keyboard Frame1: keys Command3(1..34) filling the panel.
// Key 32 starts without a caption; the window names it when it loads.
class LetterKeyboard : public QFrame
{
    Q_OBJECT

public:
    explicit LetterKeyboard(QWidget *parent = nullptr);

    QPushButton *key(int index) const;
    // Gives key 32 its letter, as both windows do when they load.
    void nameLastLetterKey();
    // Moves the panel's top-left corner (twips of the window's client area).
    void moveTo(TwipPoint position);

signals:
    void keyClicked(int index);

private:
    QPushButton *m_keys[GridGeometry::LetterKeyCount] = {};
};
