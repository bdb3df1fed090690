#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Answers the real modal dialogs of a test from the event loop while they are
// up. Watches that never fired end with the watcher.
class ModalWatcher
{
public:
    // Runs step once on the first visible modal window other than after.
    void onNextModal(QWidget *after, std::function<void(QWidget *)> step);

private:
    QObject m_watches;
};
