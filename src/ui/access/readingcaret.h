#pragma once

#include <QObject>

class QPlainTextEdit;

// A caret for the keyboard in a read-only text, so that the arrows move
// through it and a screen reader reads the line, word or letter reached. Up
// and Down go a written line at a time, however the text is wrapped. The
// caret comes with the first key pressed in the text and goes at the next
// mouse press in its window, so a mouse user sees the text as it always was.
class ReadingCaret : public QObject
{
    Q_OBJECT

public:
    explicit ReadingCaret(QPlainTextEdit *text);

    bool isOn() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void turnOn(bool on);
    void moveByLine(bool down);

    QPlainTextEdit *m_text;
};
