#include "terminalprogress.h"

#include <QTextStream>

#include <algorithm>

TerminalProgress::TerminalProgress(ToolStreams streams, QString label)
    : m_err(streams.err), m_label(std::move(label)), m_enabled(streams.errIsTerminal),
      m_delay(streams.progressDelay)
{
    m_clock.start();
}

TerminalProgress::~TerminalProgress()
{
    finish();
}

void TerminalProgress::report(qint64 done, qint64 total)
{
    if (!m_enabled || total <= 0 || m_clock.elapsed() < m_delay.count())
        return;
    const int percent = int(std::clamp<qint64>(done * 100 / total, 0, 100));
    if (percent == m_shownPercent)
        return;
    const QString line = QStringLiteral("%1: %2 %").arg(m_label).arg(percent);
    m_err << u'\r' << line;
    m_err.flush();
    m_shownPercent = percent;
    m_shownLength = line.size();
}

void TerminalProgress::finish()
{
    if (m_shownLength == 0)
        return;
    m_err << u'\r' << QString(m_shownLength, u' ') << u'\r';
    m_err.flush();
    m_shownLength = 0;
    m_shownPercent = -1;
}
