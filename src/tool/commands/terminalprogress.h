#pragma once

#include "toolcommand.h"

#include <QElapsedTimer>
#include <QString>

// How far a long run has come, on one line of the terminal that is rewritten
// in place. Nothing is shown unless err is a terminal and the run has gone on
// longer than ToolStreams::progressDelay: quick runs, pipes and logs stay as
// they were.
class TerminalProgress
{
public:
    // label: what is being done, e.g. "Составление кроссворда".
    TerminalProgress(ToolStreams streams, QString label);
    ~TerminalProgress();

    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    void report(qint64 done, qint64 total);
    // Clears the line, if one was shown, so that what is written next starts
    // at the beginning of a clean line.
    void finish();

private:
    QTextStream &m_err;
    QString m_label;
    bool m_enabled;
    std::chrono::milliseconds m_delay;
    QElapsedTimer m_clock;
    int m_shownPercent = -1;
    qsizetype m_shownLength = 0;
};
