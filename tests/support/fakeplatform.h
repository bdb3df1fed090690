#pragma once

#include "crossworddocument.h"
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

    struct Question
    {
        QString text;
        QStringList buttons;
    };
    // Next answers of ask(), oldest first; unscripted, the box is closed (-1).
    std::deque<int> askAnswers;

    // Next choices of what to print; unscripted, the choice is cancelled.
    std::deque<PrintChoice> printChoices;
    // Where the next print() puts its pages (a PDF file); unscripted, the
    // print dialog is cancelled.
    std::deque<QString> printFiles;
    struct PrintRequest
    {
        bool preview = false;
        QString docName;
    };

    // Next rows chosen in the list of findings; unscripted, it is closed.
    std::deque<int> findingAnswers;
    struct FindingsRequest
    {
        QList<Finding> findings;
        QStringList notes;
    };

    // The crosswords the maker's dialog offers, in turn, until one is taken.
    std::deque<CrosswordDocument> madeCrosswords;

    std::vector<FileDialogRequest> fileRequests;
    std::vector<InputRequest> inputRequests;
    QStringList openedDocuments;
    std::vector<Message> messages;
    std::vector<Question> questions;
    int printChoiceRequests = 0;
    std::vector<PrintRequest> printRequests;
    std::vector<FindingsRequest> findingsRequests;
    int makeRequests = 0;

    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     TwipPoint position) override;
    QDate today() override { return date; }
    bool openDocument(const QString &fileName) override;
    void showMessage(QWidget *owner, const QString &title, const QString &text) override;
    int ask(QWidget *owner, const QString &title, const QString &text,
            const QStringList &buttons) override;
    std::optional<PrintChoice> choosePrint(QWidget *owner) override;
    QString print(QWidget *owner, QPrinter *printer, bool preview, const Paint &paint) override;
    std::optional<int> chooseFinding(QWidget *owner, const QList<Finding> &findings,
                                     const QStringList &notes) override;
    void makeCrossword(QWidget *owner, const Take &take) override;
};
