#include "fakeplatform.h"

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
