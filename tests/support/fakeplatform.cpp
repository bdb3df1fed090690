#include "fakeplatform.h"

#include <QPrinter>

std::optional<QString> FakePlatform::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    fileRequests.push_back(request);
    if (onFileDialog)
        onFileDialog(owner, request);
    if (fileAnswers.empty())
        return std::nullopt;
    const bool cancelled = !fileAnswers.front().has_value();
    const QString name = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return name;
}

QString FakePlatform::inputBox(QWidget *, const QString &prompt, const QString &title,
                               TwipPoint position)
{
    inputRequests.push_back({prompt, title, position});
    if (inputAnswers.empty())
        return {};
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

bool FakePlatform::openDocument(const QString &fileName)
{
    openedDocuments << fileName;
    return openDocumentResult;
}

void FakePlatform::showMessage(QWidget *owner, const QString &title, const QString &text)
{
    messages.push_back({title, text});
    if (onMessage)
        onMessage(owner, messages.back());
}

int FakePlatform::ask(QWidget *, const QString &, const QString &text, const QStringList &buttons)
{
    questions.push_back({text, buttons});
    if (askAnswers.empty())
        return -1;
    const int answer = askAnswers.front();
    askAnswers.pop_front();
    return answer;
}

std::optional<Platform::PrintChoice> FakePlatform::choosePrint(QWidget *)
{
    ++printChoiceRequests;
    if (printChoices.empty())
        return std::nullopt;
    const PrintChoice choice = printChoices.front();
    printChoices.pop_front();
    return choice;
}

QString FakePlatform::print(QWidget *, QPrinter *printer, bool preview, const Paint &paint)
{
    printRequests.push_back({preview, printer->docName()});
    if (printFiles.empty())
        return {};
    printer->setOutputFileName(printFiles.front());
    printFiles.pop_front();
    return paint(printer) ? QString() : QStringLiteral("не удалось нарисовать страницы");
}

std::optional<int> FakePlatform::chooseFinding(QWidget *, const QList<Finding> &findings,
                                               const QStringList &notes)
{
    findingsRequests.push_back({findings, notes});
    if (findingAnswers.empty())
        return std::nullopt;
    const int answer = findingAnswers.front();
    findingAnswers.pop_front();
    return answer;
}

void FakePlatform::makeCrossword(QWidget *owner, const Take &take)
{
    ++makeRequests;
    while (!madeCrosswords.empty()) {
        const CrosswordDocument offered = madeCrosswords.front();
        madeCrosswords.pop_front();
        if (take(owner, offered))
            return;
    }
}
