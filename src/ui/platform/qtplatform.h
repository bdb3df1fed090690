#pragma once

#include "platform.h"

// The real dialogs, clock, desktop shell and printers.
class QtPlatform : public Platform
{
public:
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     TwipPoint position) override;
    QDate today() override;
    bool openDocument(const QString &fileName) override;
    void showMessage(QWidget *owner, const QString &title, const QString &text) override;
    int ask(QWidget *owner, const QString &title, const QString &text,
            const QStringList &buttons) override;
    std::optional<PrintChoice> choosePrint(QWidget *owner) override;
    QString print(QWidget *owner, QPrinter *printer, bool preview, const Paint &paint) override;
    std::optional<int> chooseFinding(QWidget *owner, const QList<Finding> &findings,
                                     const QStringList &notes) override;
    void makeCrossword(QWidget *owner, const Take &take) override;

    // Qt's print dialog for the printer, in Russian throughout; true when the
    // user chose to print. Page ranges are left to the print service, since
    // the pages are painted whole.
    static bool printDialog(QPrinter *printer, QWidget *owner);
};
