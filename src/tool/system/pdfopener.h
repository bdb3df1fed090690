#pragma once

#include <QString>

#include <chrono>

// What `pdf --open` needs from outside the tool: a folder of the user's own
// for a PDF that cannot go beside its crossword, and the desktop's opener
// (xdg-open; on Windows the shell, which starts the default PDF viewer). A
// POSIX and a Windows face.
class PdfOpener
{
public:
    enum class Outcome {
        Shown,    // the opener succeeded, or is still showing the file
        NoViewer, // the opener ran and failed: nothing on this desktop shows PDF
        NoOpener, // the opener could not be started
    };

    // path: <temporary folder>/kvarcella-<user id> (on Windows the user's own
    // temporary folder/kvarcella), made on first use and reused by every
    // later run. It may be used only while it is a real folder (not a link)
    // of this user that no one else may enter; false with a Russian reason
    // otherwise.
    static bool privateFolder(QString *path, QString *reason);

    // Runs xdg-open on file with its output thrown away. In a bare X session
    // xdg-open runs the viewer itself and stays until it closes, so an opener
    // still running after patience counts as a viewer up. On Windows the
    // shell opens the file with the viewer chosen for PDF.
    static Outcome show(const QString &file, std::chrono::milliseconds patience);
    // The opener, for the message when it cannot be started ("программа xdg-open").
    static QString openerName();
};
