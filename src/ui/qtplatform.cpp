#include "qtplatform.h"

#include "twips.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

std::optional<QString> QtPlatform::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner);
    dialog.setNameFilter(request.filter);
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile
                                                 : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    if (!request.initialFileName.isEmpty())
        dialog.selectFile(request.initialFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::inputBox(QWidget *owner, const QString &prompt, const QString &title,
                             TwipPoint position)
{
    QInputDialog box(owner);
    box.setInputMode(QInputDialog::TextInput);
    box.setLabelText(prompt);
    box.setWindowTitle(title);
    box.move(Twips::toPixels(position));
    if (box.exec() != QDialog::Accepted)
        return {};
    return box.textValue();
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

bool QtPlatform::openDocument(const QString &fileName)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(fileName)));
}

void QtPlatform::showMessage(QWidget *owner, const QString &title, const QString &text)
{
    QMessageBox::warning(owner, title, text);
}
