#include "toolcommand.h"

#include "crossworddocument.h"
#include "crosswordfile.h"
#include "crosswordfileerror.h"
#include "filefailurereason.h"
#include "safefilewriter.h"
#include "strictcrosswordreader.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

bool ToolCommand::singleArgument(const QCommandLineParser &parser, const QString &what,
                                 QString *argument, ToolStreams streams)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        streams.err << QStringLiteral("Не указан %1.").arg(what) << Qt::endl;
        return false;
    }
    if (arguments.size() > 1) {
        streams.err << QStringLiteral("Лишний аргумент «%1»: команде нужен только %2.")
                           .arg(arguments[1], what)
                    << Qt::endl;
        return false;
    }
    *argument = arguments.first();
    return true;
}

bool ToolCommand::readCrossword(const QString &path, CrosswordDocument *document,
                                ToolStreams streams)
{
    QString message;
    if (!StrictCrosswordReader::read(path, document, &message)) {
        streams.err << message << Qt::endl;
        return false;
    }
    return true;
}

bool ToolCommand::readCrosswordArgument(const QCommandLineParser &parser, QString *path,
                                        CrosswordDocument *document, ToolStreams streams)
{
    return singleArgument(parser, QStringLiteral("файл кроссворда"), path, streams) &&
           readCrossword(*path, document, streams);
}

bool ToolCommand::writeOutput(const QString &path, const QByteArray &bytes, ToolStreams streams)
{
    // The same careful writing as the crossword itself: a failure leaves the
    // old file as it was, or says that it could not.
    const SafeFileWriter::Result result = SafeFileWriter::write(path, bytes);
    if (result.outcome == SafeFileWriter::Outcome::Written)
        return true;
    const QString reason = FileFailureReason::fromErrno(result.error);
    const CrosswordFileError error =
        result.outcome == SafeFileWriter::Outcome::PartlyWritten
            ? CrosswordFileError::partlyWritten(path, reason)
            : CrosswordFileError::cannotWrite(path, reason, result.existed);
    streams.err << error.message() << Qt::endl;
    return false;
}

bool ToolCommand::outputIsInput(const QString &input, const QString &output, ToolStreams streams)
{
    const QFileInfo in(input);
    const QFileInfo out(output);
    const bool same = out.exists() ? in.canonicalFilePath() == out.canonicalFilePath()
                                   : in.absoluteFilePath() == out.absoluteFilePath();
    if (same)
        streams.err << QStringLiteral("Файл «%1» — это сам кроссворд, запись в него уничтожила бы "
                                      "кроссворд. Укажите другое имя.")
                           .arg(output)
                    << Qt::endl;
    return same;
}

QString ToolCommand::siblingPath(const QString &path, const QString &extension)
{
    QString base = path;
    if (base.endsWith(QStringLiteral(".crs"), Qt::CaseInsensitive))
        base.chop(4);
    return base + u'.' + extension;
}

QString ToolCommand::crosswordTitle(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".crs"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}
