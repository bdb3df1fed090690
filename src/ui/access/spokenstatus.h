#pragma once

#include <QWidget>

// Words for a screen reader that belong to no control of the window: the
// letter a key typed, the pop-up that opened, the edge of the grid. To a
// reader it is a status bar holding one notification, which Orca speaks when
// it shows, without the word "notification" before it; to a mouse user it is
// nothing, since it never shows on the screen.
class SpokenStatus : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenStatus(QWidget *parent);

    // Has a screen reader say the words, when one is listening.
    void say(const QString &words);
    // What was said last.
    const QString &words() const { return m_words; }
    // The notification inside, the object that is said to show.
    QWidget *message() const { return m_message; }

signals:
    void spoken(const QString &words);

private:
    QWidget *m_message;
    QString m_words;
};
