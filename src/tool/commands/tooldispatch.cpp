#include "tooldispatch.h"

#include "crosswordcheck.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <algorithm>

namespace {

const QString ProgramName = QStringLiteral("kvarcella-tool");

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("Показать эту справку."));
}

bool isHelpWord(const QString &argument)
{
    return argument == QStringLiteral("-h") || argument == QStringLiteral("--help") ||
           argument == QStringLiteral("help");
}

QString optionSyntax(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += QStringLiteral(" ") + option.valueName();
    return syntax;
}

// Two columns, the second starting where the longest first one ends.
QString table(const QList<QPair<QString, QString>> &rows)
{
    qsizetype width = 0;
    for (const auto &row : rows)
        width = std::max(width, row.first.size());
    QString text;
    for (const auto &row : rows)
        text += QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + u'\n';
    return text;
}

// The option name between the quotes of a QCommandLineParser error text.
QString quotedName(const QString &errorText)
{
    const qsizetype first = errorText.indexOf(u'\'');
    const qsizetype last = errorText.lastIndexOf(u'\'');
    return first >= 0 && last > first ? errorText.mid(first + 1, last - first - 1) : QString();
}

// QCommandLineParser reports in English; the tool speaks Russian.
QString parseErrorMessage(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = unknown.first();
        return QStringLiteral("Неизвестный параметр «%1%2».")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                 CrosswordCheck::printable(name));
    }
    const QString text = parser.errorText();
    const QString name = CrosswordCheck::printable(quotedName(text));
    if (text.startsWith(QStringLiteral("Missing value")))
        return QStringLiteral("После параметра «%1» нужно указать значение.").arg(name);
    if (text.startsWith(QStringLiteral("Unexpected value")))
        return QStringLiteral("Параметр «%1» не принимает значения.").arg(name);
    return QStringLiteral("Неверная командная строка.");
}

} // namespace

void ToolDispatch::add(std::unique_ptr<ToolCommand> command)
{
    m_commands.push_back(std::move(command));
}

ToolCommand *ToolDispatch::commandFor(const QStringList &arguments) const
{
    if (arguments.size() < 2)
        return nullptr;
    for (const auto &command : m_commands) {
        if (command->name() == arguments[1])
            return command.get();
    }
    return nullptr;
}

int ToolDispatch::run(const QStringList &arguments, ToolStreams streams) const
{
    if (arguments.size() < 2) {
        streams.err << programHelp();
        streams.err.flush();
        return ToolExit::Failed;
    }
    if (isHelpWord(arguments[1])) {
        streams.out << programHelp();
        streams.out.flush();
        return ToolExit::Ok;
    }
    ToolCommand *command = commandFor(arguments);
    if (!command) {
        streams.err << QStringLiteral("Неизвестная команда «%1». Список команд: %2 --help")
                           .arg(CrosswordCheck::printable(arguments[1]), ProgramName)
                    << Qt::endl;
        return ToolExit::Failed;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    parser.addOptions(command->options());
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments[0]);
    if (!parser.parse(rest)) {
        streams.err << parseErrorMessage(parser) << Qt::endl;
        streams.err << QStringLiteral("Справка: %1 %2 --help").arg(ProgramName, command->name())
                    << Qt::endl;
        return ToolExit::Failed;
    }
    if (parser.isSet(help)) {
        streams.out << commandHelp(*command);
        streams.out.flush();
        return ToolExit::Ok;
    }
    // With the command's file on standard output, its reports go to standard
    // error, so that the output can be piped on as it is.
    const ToolStreams commandStreams = command->writesToStandardOutput(parser)
                                           ? ToolStreams{streams.err, streams.err, streams.errIsTerminal,
                                                         streams.progressDelay}
                                           : streams;
    const int status = command->run(parser, commandStreams);
    streams.out.flush();
    streams.err.flush();
    return status;
}

QString ToolDispatch::programHelp() const
{
    QList<QPair<QString, QString>> rows;
    for (const auto &command : m_commands)
        rows.append({command->name(), command->description()});
    return QStringLiteral("Использование: %1 КОМАНДА ФАЙЛ [параметры]\n\n"
                          "Печать, проверка, экспорт и составление кроссвордов (файлов .crs).\n\n"
                          "Команды:\n")
               .arg(ProgramName) +
           table(rows) +
           QStringLiteral("\nСправка по команде: %1 КОМАНДА --help\n"
                          "Код возврата: 0 — готово, 1 — проверка нашла ошибки или не все слова вошли "
                          "в кроссворд, "
                          "2 — файл не прочитан или не записан, или команда задана неверно.\n")
               .arg(ProgramName);
}

QString ToolDispatch::commandHelp(const ToolCommand &command) const
{
    QList<QPair<QString, QString>> rows;
    QList<QCommandLineOption> options = command.options();
    options.append(helpOption());
    for (const QCommandLineOption &option : options)
        rows.append({optionSyntax(option), option.description()});
    return QStringLiteral("Использование: %1 %2 %3 [параметры]\n\n%4\n\nПараметры:\n")
               .arg(ProgramName, command.name(), command.argumentSyntax(), command.description()) +
           table(rows);
}
