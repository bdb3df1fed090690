#pragma once

#include "gridgeometry.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CrosswordDocument;
class QPrinter;
class QWidget;

// Everything modal or outside the process that the windows need: file
// dialogs, the input box, today's date, the desktop shell, message boxes and
// questions, the printer, and the editing window's dialogs for checking and
// making a crossword. The program uses QtPlatform; tests give a scripted fake.
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
        QString defaultSuffix;          // added to a name typed without one; "" adds none
    };

    // What to print, chosen before the printer is.
    struct PrintChoice
    {
        bool worksheet = true; // the pupils' pages: the empty grid and the clues
        bool answers = true;   // the answer key
        bool preview = false;  // show the pages first, with printing one button away
    };
    // Paints the pages on the printer; false when it could not begin.
    using Paint = std::function<bool(QPrinter *printer)>;

    // One problem a check found, and where: "строка 3, столбец 5", or a line
    // of the clues.
    struct Finding
    {
        QString place;
        QString text;
    };

    // The crossword to move into the editing window; dialog is the maker's
    // dialog, for a question over it. False keeps the dialog open.
    using Take = std::function<bool(QWidget *dialog, const CrosswordDocument &crossword)>;

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
    // A message with the given buttons; the index of the one pressed, or -1
    // when the box was closed without one.
    virtual int ask(QWidget *owner, const QString &title, const QString &text,
                    const QStringList &buttons) = 0;

    // The choice of pages; nothing when cancelled.
    virtual std::optional<PrintChoice> choosePrint(QWidget *owner) = 0;
    // The print dialog for the printer (or the print preview), then paint on
    // it. "" when printed or cancelled; otherwise why the pages were not
    // printed, a Russian phrase naming the printer or file.
    virtual QString print(QWidget *owner, QPrinter *printer, bool preview, const Paint &paint) = 0;

    // Lists what a check found (none: says so) with the notes; the index of
    // the finding the user chose to go to, or nothing.
    virtual std::optional<int> chooseFinding(QWidget *owner, const QList<Finding> &findings,
                                             const QStringList &notes) = 0;

    // The dialog that makes a crossword from a word list, until take accepts
    // one or the user closes it.
    virtual void makeCrossword(QWidget *owner, const Take &take) = 0;
};
