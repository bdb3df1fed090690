#pragma once

#include "platform.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Answers dialogs from a script and records what the windows asked for.
// An unscripted file dialog or input box answers as if cancelled.
class FakePlatform : public Platform
{
public:
    struct InputRequest
    {
        QString prompt;
        QString title;
        TwipPoint position;
    };
    struct Message
    {
        QString title;
        QString text;
    };

    // Next answers of the file dialog, oldest first; std::nullopt cancels.
    std::deque<std::optional<QString>> fileAnswers;
    // Next answers of the input box, oldest first.
    std::deque<QString> inputAnswers;
    QDate date = QDate(2026, 12, 8);
    // Runs while the file dialog is up, before it answers: a test can look at
    // the windows as they stand behind the dialog.
    std::function<void(QWidget *owner, const FileDialogRequest &request)> onFileDialog;
    // Runs as a message box is shown, with the window that owns it.
    std::function<void(QWidget *owner, const Message &message)> onMessage;
    bool openDocumentResult = false;

    std::vector<FileDialogRequest> fileRequests;
    std::vector<InputRequest> inputRequests;
    QStringList openedDocuments;
    std::vector<Message> messages;

    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     TwipPoint position) override;
    QDate today() override { return date; }
    bool openDocument(const QString &fileName) override;
    void showMessage(QWidget *owner, const QString &title, const QString &text) override;
};
