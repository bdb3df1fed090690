#pragma once

#include <QFileDialog>

// The open and save dialog: Qt's own dialog, so it looks and speaks the same
// on every desktop. Its two questions, a missing file on open and an existing
// file on save, are asked here in Russian and name the file as plain text.
class FileDialog : public QFileDialog
{
    Q_OBJECT

public:
    enum class Mode { Open, Save };

    // mustExist: open only an existing file. confirmOverwrite: ask before a
    // save replaces a file.
    FileDialog(QWidget *parent, Mode mode, bool mustExist, bool confirmOverwrite);

    static QString notFoundText(const QString &fileName);
    // reason: why a name that leads nowhere cannot be followed, as FileFailureReason gives.
    static QString unreachableText(const QString &fileName, const QString &reason);
    static QString overwriteText(const QString &fileName);

public slots:
    void accept() override;

private:
    bool m_mustExist;
    bool m_confirmOverwrite;
};
