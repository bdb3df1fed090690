#include "tooldispatch.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

// Records what the dispatch hands it.
class EchoCommand : public ToolCommand
{
public:
    QString name() const override { return QStringLiteral("echo"); }
    QString description() const override { return QStringLiteral("Повторить файл."); }
    QString argumentSyntax() const override { return QStringLiteral("ФАЙЛ"); }
    QList<QCommandLineOption> options() const override
    {
        return {
            QCommandLineOption({"o", "output"}, QStringLiteral("Куда."), QStringLiteral("ВЫХОД")),
            QCommandLineOption("loud", QStringLiteral("Громко."))};
    }
    int run(const QCommandLineParser &parser, ToolStreams streams) override
    {
        QString file;
        if (!singleArgument(parser, QStringLiteral("файл"), &file, streams))
            return ToolExit::Failed;
        streams.out << file << u' ' << parser.value("output") << u' ' << parser.isSet("loud");
        return ToolExit::ProblemsFound;
    }
};

struct Result
{
    int status;
    QString out;
    QString err;
};

Result dispatch(const QStringList &arguments)
{
    ToolDispatch dispatch;
    dispatch.add(std::make_unique<EchoCommand>());
    Result result{0, {}, {}};
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    QStringList all = arguments;
    all.prepend(QStringLiteral("kvarcella-tool"));
    result.status = dispatch.run(all, {out, err});
    out.flush();
    err.flush();
    return result;
}

} // namespace

TEST(ToolDispatchTest, RunsTheNamedCommandWithItsOptionsAndPassesItsStatusOn)
{
    const Result result = dispatch({"echo", "--loud", "a.crs", "-o", "b.pdf"});
    EXPECT_EQ(result.status, ToolExit::ProblemsFound);
    EXPECT_EQ(result.out, QStringLiteral("a.crs b.pdf 1"));
    EXPECT_TRUE(result.err.isEmpty());
}

TEST(ToolDispatchTest, HelpIsRussianAndListsCommandsAndOptions)
{
    for (const char *word : {"--help", "-h", "help"}) {
        const Result general = dispatch({word});
        EXPECT_EQ(general.status, ToolExit::Ok);
        EXPECT_TRUE(general.out.startsWith("Использование: kvarcella-tool КОМАНДА"));
        EXPECT_TRUE(general.out.contains(QStringLiteral("  echo  Повторить файл.\n")));
    }
    const Result command = dispatch({"echo", "--help"});
    EXPECT_EQ(command.status, ToolExit::Ok);
    EXPECT_TRUE(command.out.startsWith("Использование: kvarcella-tool echo ФАЙЛ [параметры]"));
    EXPECT_TRUE(command.out.contains(QStringLiteral("  -o, --output ВЫХОД  Куда.\n")));
    EXPECT_TRUE(command.out.contains(QStringLiteral("  --loud              Громко.\n")));
    EXPECT_TRUE(command.out.contains(QStringLiteral("-h, --help")));

    const Result nothing = dispatch({});
    EXPECT_EQ(nothing.status, ToolExit::Failed) << "no command is a wrong command line";
    EXPECT_TRUE(nothing.err.startsWith("Использование:"));
}

TEST(ToolDispatchTest, WrongCommandLinesFailWithARussianReason)
{
    const struct
    {
        QStringList arguments;
        const char *message;
    } cases[] = {
        {{"print", "a.crs"}, "Неизвестная команда «print»."},
        {{"echo", "--quiet", "a.crs"}, "Неизвестный параметр «--quiet»."},
        {{"echo", "a.crs", "-o"}, "После параметра «-o» нужно указать значение."},
        {{"echo", "a.crs", "--loud=yes"}, "Параметр «--loud» не принимает значения."},
        {{"echo"}, "Не указан файл."},
        {{"echo", "a.crs", "b.crs"}, "Лишний аргумент «b.crs»: команде нужен только файл."},
    };
    for (const auto &c : cases) {
        const Result result = dispatch(c.arguments);
        EXPECT_EQ(result.status, ToolExit::Failed) << c.message;
        EXPECT_TRUE(result.err.startsWith(QString::fromUtf8(c.message)))
            << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}
