#pragma once

#include <QString>

// Finds the help file for "Содержание...". The relative name comes first, as
// the desktop resolves it against the current folder; without the file there,
// the copy beside the executable (a build tree) and then the one in the
// program's data folder of an installation. The data folder is found from the
// executable's own folder, so a moved installation still finds its help.
class HelpFile
{
public:
    static const QString FileName;
    // The data folder relative to the folder holding the executable once
    // installed, e.g. "../share/kvarcella".
    static const QString DataFolderFromExecutable;

    // FileName when currentFolder holds it or no copy is found elsewhere (so
    // the request stays what it always was); otherwise the copy's full path.
    static QString locate(const QString &currentFolder, const QString &executableFolder);
};
