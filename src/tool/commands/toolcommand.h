#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <chrono>

class CrosswordDocument;
class QCommandLineParser;
class QTextStream;

// Exit statuses shared by every command.
namespace ToolExit {
constexpr int Ok = 0;
constexpr int ProblemsFound = 1; // the command ran and found problems in the crossword
constexpr int Failed = 2; // a file could not be read or written, or the command line is wrong
} // namespace ToolExit

// Where a command writes: results to out, failures to err. When the command's
// output file is standard output ("-o -"), the dispatch makes out the same
// stream as err, so that reports never mix with the file's bytes.
struct ToolStreams
{
    QTextStream &out;
    QTextStream &err;
    // err goes to a terminal: a run that takes long shows how far it has come
    // there (see TerminalProgress).
    bool errIsTerminal = false;
    std::chrono::milliseconds progressDelay = std::chrono::seconds(1);
};

// One command of kvarcella-tool ("pdf", "check", ...). The dispatch parses the
// command line with the command's options and calls run() once.
class ToolCommand
{
public:
    virtual ~ToolCommand() = default;

    // The word typed after the program name.
    virtual QString name() const = 0;
    // One Russian sentence for the list of commands.
    virtual QString description() const = 0;
    // The positional arguments as shown in help, e.g. "ФАЙЛ.crs".
    virtual QString argumentSyntax() const = 0;
    // The command's own options; --help is added by the dispatch.
    virtual QList<QCommandLineOption> options() const { return {}; }
    // Whether run() needs Qt Gui (fonts, painting): the tool then starts a
    // QGuiApplication on the offscreen platform instead of a QCoreApplication.
    virtual bool needsGui() const { return false; }

    // Returns one of the ToolExit statuses.
    virtual int run(const QCommandLineParser &parser, ToolStreams streams) = 0;

    // Whether the command's "output" option (-o) is "-", standard output.
    bool writesToStandardOutput(const QCommandLineParser &parser) const;
    static bool isStandardOutput(const QString &path);

protected:
    // The one positional argument; reports a Russian message otherwise.
    static bool singleArgument(const QCommandLineParser &parser, const QString &what,
                               QString *argument, ToolStreams streams);
    // Reads a crossword strictly (see StrictCrosswordReader); on failure writes
    // the Russian message to err.
    static bool readCrossword(const QString &path, CrosswordDocument *document,
                              ToolStreams streams);
    // The one positional argument read as a crossword; false, with the Russian
    // message on err, when it is missing or unreadable.
    static bool readCrosswordArgument(const QCommandLineParser &parser, QString *path,
                                      CrosswordDocument *document, ToolStreams streams);
    // Replaces a file with the bytes, keeping its identity, or writes them to
    // standard output for "-"; on failure writes why to err.
    static bool writeOutput(const QString &path, const QByteArray &bytes, ToolStreams streams);
    // The line that reports a successful writeOutput.
    static QString writtenLine(const QString &path);
    // Whether output is input under any name: the same path, a hard or
    // symbolic link, a mount; "-" when standard output was sent into input.
    static bool sameFile(const QString &input, const QString &output);
    // True, with a message on err, when output is the crossword file itself
    // (sameFile): writing there would destroy the crossword.
    static bool outputIsInput(const QString &input, const QString &output, ToolStreams streams);
    // The whole of a command that turns the crossword argument into one file:
    // reads it, writes what render makes of it to -o, or beside the crossword
    // with extension, never onto the crossword itself, and says where. path and
    // document receive the crossword; false once a message is on err.
    using Render = QByteArray (*)(const CrosswordDocument &document, const QString &title);
    static bool exportCrossword(const QCommandLineParser &parser, const QString &extension,
                                Render render, QString *path, CrosswordDocument *document,
                                ToolStreams streams);
    // path with its .crs extension (any case) replaced by extension ("pdf").
    static QString siblingPath(const QString &path, const QString &extension);
    // The crossword's name as people see it: the file name without ".crs".
    static QString crosswordTitle(const QString &path);
    // A file name or another argument as messages show it: a name can hold
    // control characters, which are written as U+XXXX instead of reaching the
    // terminal.
    static QString shown(const QString &argument);
};
