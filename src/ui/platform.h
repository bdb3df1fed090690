#pragma once

#include "gridgeometry.h"

#include <QDate>
#include <QString>

#include <optional>

class QWidget;

// Everything modal or outside the process that the windows need: file
// dialogs, the input box, today's date, the desktop shell and message boxes.
// The program uses QtPlatform; tests give a scripted fake.
class Platform
{
public:
    struct FileDialogRequest
    {
        enum class Mode { Open, Save };
        Mode mode = Mode::Open;
        bool fileMustExist = false;     // open: only existing files
        bool confirmOverwrite = false;  // save: ask before replacing a file
        QString filter;                 // Qt form, e.g. "файлы кроссворда (*.crs)"
        QString initialFileName;        // offered in the dialog; "" for none
    };

    virtual ~Platform() = default;

    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) = 0;
    // The typed text, or "" when cancelled. position is the box's top-left
    // corner on the screen, in twips.
    virtual QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                             TwipPoint position) = 0;
    virtual QDate today() = 0;
    // Asks the desktop to open a document with its default application;
    // relative names are resolved against the current directory.
    virtual bool openDocument(const QString &fileName) = 0;
    virtual void showMessage(QWidget *owner, const QString &title, const QString &text) = 0;
};
