#include "helpfile.h"

#include <QDir>
#include <QFileInfo>

const QString HelpFile::FileName = QStringLiteral("kvarcella.chm");
const QString HelpFile::DataFolderFromExecutable = QStringLiteral(KVARCELLA_DATADIR_FROM_BINDIR);

QString HelpFile::locate(const QString &currentFolder, const QString &executableFolder)
{
    if (QFileInfo(QDir(currentFolder).filePath(FileName)).isFile())
        return FileName;
    const QDir executable(executableFolder);
    for (const QString &candidate :
         {executable.filePath(FileName),
          executable.filePath(DataFolderFromExecutable + QLatin1Char('/') + FileName)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return FileName;
}
