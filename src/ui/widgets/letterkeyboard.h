#pragma once

#include "keypanel.h"

// The pop-up letter keyboard Frame1: keys Command3(1..34) filling the panel.
// Key 32 starts without a caption; the window names it when it loads.
class LetterKeyboard : public KeyPanel
{
    Q_OBJECT

public:
    explicit LetterKeyboard(QWidget *parent = nullptr);

    // Gives key 32 its letter, as both windows do when they load.
    void nameLastLetterKey();
};
