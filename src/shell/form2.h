#pragma once

#include <QWidget>

class QPlainTextEdit;

// The About window: a fixed-size top-level window with the maker's four lines.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    static const QString AboutText;

    explicit Form2(QWidget *parent = nullptr);

    // The load step: fills Text1.
    void load();

    QPlainTextEdit *text() const { return m_text; }

private:
    QPlainTextEdit *m_text = nullptr;
};
