#pragma once

#include <QObject>
#include <QPointer>

class KeyPanel;
class LetterKeyboard;
class NumberPad;
class QKeyEvent;
class QWidget;

// Typed keys for a pop-up panel. While the panel is shown, a key typed
// anywhere in its window acts as the panel's key for it, exactly as a click on
// that key would. The keys are taken at the window's focus widget, after the
// program-wide filters: a screen reader's bridge sees every key first, holds
// it while the reader decides, and echoes it. Nothing is watched while the
// panel is closed.
class PopupKeys : public QObject
{
    Q_OBJECT

public:
    // Letters, Backspace or Delete as the erase key, Escape as "закрыть".
    static PopupKeys *forLetterKeyboard(LetterKeyboard *keyboard);
    // Digits, Backspace or Delete as the clearing key, Enter as the key that
    // applies the number; Escape asks for the pad to be closed.
    static PopupKeys *forNumberPad(NumberPad *pad);

    bool isOpen() const;
    // The panel's key for a typed key, 0 for none.
    int keyFor(const QKeyEvent &event) const;
    // Presses the panel's key for a typed key; false when the panel is
    // closed or the key is none of its own.
    bool press(const QKeyEvent &event);
    // Closes the panel as Escape does.
    void dismiss();

signals:
    // Escape on a panel without a close key of its own.
    void dismissRequested();
    // A typed key pressed the panel's key, which has done its work.
    void typed(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using KeyFor = int (*)(const QKeyEvent &);
    PopupKeys(KeyPanel *panel, KeyFor keyFor, int closeKey);
    void watch(bool shown);
    void followFocus();

    KeyPanel *m_panel;
    KeyFor m_keyFor;
    int m_closeKey;
    bool m_watching = false;
    QPointer<QWidget> m_focus;
};
