#include "commondialog.h"

#include "platform.h"

#include <QStringList>

const QString CommonDialog::CrosswordFilter = QStringLiteral("файлы кроссворда (*.crs)|*.crs|");

CommonDialog::CommonDialog(Platform &platform, QWidget *owner)
    : m_platform(platform), m_owner(owner)
{
}

bool CommonDialog::showOpen()
{
    return show(false);
}

bool CommonDialog::showSave()
{
    return show(true);
}

bool CommonDialog::show(bool save)
{
    Platform::FileDialogRequest request;
    request.mode = save ? Platform::FileDialogRequest::Mode::Save
                        : Platform::FileDialogRequest::Mode::Open;
    request.fileMustExist = !save && (m_flags & FileMustExist);
    request.confirmOverwrite = save && (m_flags & OverwritePrompt);
    request.filter = toQtFilter(m_filter);
    request.initialFileName = m_fileName;
    const std::optional<QString> chosen = m_platform.fileDialog(m_owner, request);
    if (!chosen || chosen->isEmpty())
        return false;
    m_fileName = *chosen;
    return true;
}

QString CommonDialog::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        // Qt reads the patterns from the parentheses; add them when the
        // description does not already show them.
        entries << (description.contains(u'(') ? description
                                               : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return entries.join(QStringLiteral(";;"));
}
