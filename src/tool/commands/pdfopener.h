#pragma once

#include <QString>

#include <chrono>

// What `pdf --open` needs from outside the tool: a folder of the user's own
// for a PDF that cannot go beside its crossword, and the desktop's opener.
class PdfOpener
{
public:
    enum class Outcome {
        Shown,    // the opener succeeded, or is still showing the file
        NoViewer, // the opener ran and failed: nothing on this desktop shows PDF
        NoOpener, // xdg-open could not be started
    };

    // path: <temporary folder>/kvarcella-<user id>, made on first use and
    // reused by every later run. It may be used only while it is a real
    // folder (not a link) of this user that no one else may enter; false
    // with a Russian reason otherwise.
    static bool privateFolder(QString *path, QString *reason);

    // Runs xdg-open on file with its output thrown away. In a bare X session
    // xdg-open runs the viewer itself and stays until it closes, so an opener
    // still running after patience counts as a viewer up.
    static Outcome show(const QString &file, std::chrono::milliseconds patience);
};
