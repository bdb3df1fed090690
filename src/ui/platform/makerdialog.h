#pragma once

#include "crosswordmaker.h"
#include "platform.h"
#include "wordlist.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class GridPreview;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

// Makes a crossword from a word list typed or loaded into the dialog, one
// "слово - вопрос" a line as kvarcella-tool make reads it, and shows the grid
// and the report. The maker runs on a thread of its own; while it runs the
// dialog takes no input and cannot be closed, and a bar shows its progress
// once it has taken longer than a blink.
class MakerDialog : public QDialog
{
    Q_OBJECT

public:
    // How long making may take before the progress bar shows.
    static constexpr int QuietMilliseconds = 300;

    MakerDialog(Platform &platform, Platform::Take take, QWidget *parent = nullptr);
    // Waits for a making still under way.
    ~MakerDialog() override;

    QPlainTextEdit *listEdit() const { return m_list; }
    QPlainTextEdit *report() const { return m_report; }
    GridPreview *preview() const { return m_preview; }
    bool isMaking() const { return m_worker != nullptr; }
    // The crossword shown, once one was made.
    const std::optional<CrosswordDocument> &made() const { return m_made; }

public slots:
    void reject() override;

private:
    void openList();
    void make(quint64 seed);
    void finish();
    void showProgress();
    void setMaking(bool making);
    void take();

    Platform &m_platform;
    Platform::Take m_take;
    QPlainTextEdit *m_list = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_make = nullptr;
    QPushButton *m_again = nullptr;
    QPushButton *m_takeButton = nullptr;
    QPushButton *m_close = nullptr;
    QProgressBar *m_progress = nullptr;
    GridPreview *m_preview = nullptr;
    QPlainTextEdit *m_report = nullptr;

    quint64 m_seed = 1;
    QThread *m_worker = nullptr;
    std::shared_ptr<std::atomic<int>> m_percent;
    std::shared_ptr<CrosswordMaker::Result> m_result;
    WordList m_words;
    QElapsedTimer m_started;
    QTimer m_poll;
    std::optional<CrosswordDocument> m_made;
};
