#include "qtplatform.h"

#include "filedialog.h"
#include "findingsdialog.h"
#include "makerdialog.h"
#include "plaintext.h"
#include "printchoicedialog.h"
#include "printsubmission.h"
#include "twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace {

// The print dialog's "..." for printing to a file opens the program's own
// file dialog: Qt's would name folders and sizes in English.
void browseWithOwnDialog(QPrintDialog *dialog)
{
    auto *browse = dialog->findChild<QAbstractButton *>(QStringLiteral("fileBrowser"));
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
    if (!browse || !name)
        return;
    QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(browse, &QAbstractButton::clicked, dialog, [dialog, name] {
        // The print dialog asks itself before it replaces a file.
        FileDialog files(dialog, FileDialog::Mode::Save, false, false);
        files.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        files.setDefaultSuffix(QStringLiteral("pdf"));
        files.selectFile(name->text());
        if (files.exec() == QDialog::Accepted && !files.selectedFiles().isEmpty())
            name->setText(QDir::toNativeSeparators(files.selectedFiles().constFirst()));
    });
}

// Why painting on the printer did not even begin.
QString notBegun(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("файл «%1» не удалось записать").arg(printer.outputFileName());
    return QStringLiteral("принтер «%1» не начал печать").arg(printer.printerName());
}

} // namespace

std::optional<QString> QtPlatform::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    FileDialog dialog(owner,
                      request.mode == FileDialogRequest::Mode::Open ? FileDialog::Mode::Open
                                                                    : FileDialog::Mode::Save,
                      request.fileMustExist, request.confirmOverwrite);
    dialog.setNameFilter(request.filter);
    if (!request.initialFileName.isEmpty())
        dialog.selectFile(request.initialFileName);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
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

int QtPlatform::ask(QWidget *owner, const QString &title, const QString &text,
                    const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton *> made;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        // The last button is also what closing the box means.
        made << box.addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                   : QMessageBox::AcceptRole);
    }
    if (!made.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(made.constFirst()));
    box.exec();
    return static_cast<int>(made.indexOf(box.clickedButton()));
}

std::optional<Platform::PrintChoice> QtPlatform::choosePrint(QWidget *owner)
{
    PrintChoiceDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

bool QtPlatform::printDialog(QPrinter *printer, QWidget *owner)
{
    QPrintDialog dialog(printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    browseWithOwnDialog(&dialog);
    return dialog.exec() == QDialog::Accepted;
}

QString QtPlatform::print(QWidget *owner, QPrinter *printer, bool preview, const Paint &paint)
{
    bool painted = true;
    if (preview) {
        QPrintPreviewDialog dialog(printer, owner);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&painted, &paint](QPrinter *device) { painted = paint(device); });
        // The preview's own print button would offer page ranges too.
        const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        auto *pages = dialog.findChild<QPrintPreviewWidget *>();
        for (QAction *action : dialog.findChildren<QAction *>()) {
            if (action->text() != printText || !pages)
                continue;
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, &dialog, [&dialog, pages, printer] {
                if (!printDialog(printer, &dialog))
                    return;
                pages->print();
                dialog.accept();
            });
        }
        if (dialog.exec() != QDialog::Accepted)
            return {};
    } else {
        if (!printDialog(printer, owner))
            return {};
        painted = paint(printer);
    }
    if (!painted)
        return notBegun(*printer);
    return PrintSubmission::refusal(*printer);
}

std::optional<int> QtPlatform::chooseFinding(QWidget *owner, const QList<Finding> &findings,
                                             const QStringList &notes)
{
    FindingsDialog dialog(findings, notes, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0)
        return std::nullopt;
    return dialog.chosen();
}

void QtPlatform::makeCrossword(QWidget *owner, const Take &take)
{
    MakerDialog dialog(*this, take, owner);
    dialog.exec();
}
