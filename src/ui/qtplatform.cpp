#include "qtplatform.h"

#include "filedialog.h"
#include "plaintext.h"
#include "twips.h"

#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

std::optional<QString> QtPlatform::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    FileDialog dialog(owner,
                      request.mode == FileDialogRequest::Mode::Open ? FileDialog::Mode::Open
                                                                    : FileDialog::Mode::Save,
                      request.fileMustExist, request.confirmOverwrite);
    dialog.setNameFilter(request.filter);
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
    if (auto *label = box.findChild<QLabel *>())
        PlainText::apply(label);
    box.setWindowTitle(title);
    box.setOkButtonText(QStringLiteral("ОК"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
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
    // Messages name files, and a file name is not markup.
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    box.exec();
}
