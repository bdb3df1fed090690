#include "toolcommand.h"

#include "crosswordcheck.h"
#include "crossworddocument.h"
#include "crosswordfile.h"
#include "crosswordfileerror.h"
#include "filefailurereason.h"
#include "fileidentity.h"
#include "safefilewriter.h"
#include "standardoutput.h"
#include "strictcrosswordreader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Every command that writes a file names its option so.
const QString OutputOption = QStringLiteral("output");

} // namespace

bool ToolCommand::writesToStandardOutput(const QCommandLineParser &parser) const
{
    for (const QCommandLineOption &option : options()) {
        if (option.names().contains(OutputOption))
            return isStandardOutput(parser.value(OutputOption));
    }
    return false;
}

bool ToolCommand::isStandardOutput(const QString &path)
{
    return path == QStringLiteral("-");
}

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
                           .arg(shown(arguments[1]), what)
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
    if (isStandardOutput(path)) {
        int error = 0;
        if (StandardOutput::write(bytes, &error))
            return true;
        streams.err << QStringLiteral("Не удалось записать в стандартный вывод: %1.")
                           .arg(FileFailureReason::fromErrno(error))
                    << Qt::endl;
        return false;
    }
    // The same careful writing as the crossword itself: a failure leaves the
    // old file as it was, or says that it could not.
    const SafeFileWriter::Result result = SafeFileWriter::write(path, bytes);
    if (result.outcome == SafeFileWriter::Outcome::Written)
        return true;
    const CrosswordFileError error =
        result.outcome == SafeFileWriter::Outcome::PartlyWritten
            ? CrosswordFileError::partlyWritten(shown(path), result.reason())
            : CrosswordFileError::cannotWrite(shown(path), result.reason(), result.existed);
    streams.err << error.message() << Qt::endl;
    return false;
}

QString ToolCommand::writtenLine(const QString &path)
{
    if (isStandardOutput(path))
        return QStringLiteral("Записано в стандартный вывод.");
    return QStringLiteral("Записан файл «%1».").arg(shown(path));
}

bool ToolCommand::sameFile(const QString &input, const QString &output)
{
    const auto in = FileIdentity::of(input);
    const auto out = isStandardOutput(output) ? FileIdentity::ofStandardOutput()
                                              : FileIdentity::of(output);
    return in && in == out;
}

bool ToolCommand::outputIsInput(const QString &input, const QString &output, ToolStreams streams)
{
    if (!sameFile(input, output))
        return false;
    if (isStandardOutput(output))
        streams.err << QStringLiteral("Стандартный вывод направлен в файл «%1» — это сам "
                                      "кроссворд, запись туда уничтожила бы кроссворд.")
                           .arg(shown(input));
    else
        streams.err << QStringLiteral("Файл «%1» — это сам кроссворд, запись в него уничтожила бы "
                                      "кроссворд. Укажите другое имя.")
                           .arg(shown(output));
    streams.err << Qt::endl;
    return true;
}

bool ToolCommand::exportCrossword(const QCommandLineParser &parser, const QString &extension,
                                  Render render, QString *path, CrosswordDocument *document,
                                  ToolStreams streams)
{
    if (!readCrosswordArgument(parser, path, document, streams))
        return false;
    const QString output = parser.isSet(QStringLiteral("output"))
                               ? parser.value(QStringLiteral("output"))
                               : siblingPath(*path, extension);
    if (outputIsInput(*path, output, streams) ||
        !writeOutput(output, render(*document, crosswordTitle(*path)), streams))
        return false;
    streams.out << writtenLine(output) << u'\n';
    return true;
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

QString ToolCommand::shown(const QString &argument)
{
    return CrosswordCheck::printable(argument);
}
