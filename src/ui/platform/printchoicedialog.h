#pragma once

#include "platform.h"

#include <QDialog>

class QRadioButton;

// What to print: the pupils' worksheet, the answer key or both; then on to
// the printer, or to a preview of the pages first.
class PrintChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PrintChoiceDialog(QWidget *parent = nullptr);

    // Valid once the dialog was accepted.
    Platform::PrintChoice choice() const;

private:
    QRadioButton *m_worksheet;
    QRadioButton *m_answers;
    QRadioButton *m_both;
    bool m_preview = false;
};
