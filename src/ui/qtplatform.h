#pragma once

#include "platform.h"

// The real dialogs, clock and desktop shell.
class QtPlatform : public Platform
{
public:
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     TwipPoint position) override;
    QDate today() override;
    bool openDocument(const QString &fileName) override;
    void showMessage(QWidget *owner, const QString &title, const QString &text) override;
};
