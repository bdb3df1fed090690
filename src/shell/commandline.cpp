#include "commandline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// Qt's own options, as Qt 6 on X11 takes them from the command line (with one
// dash or two). A desktop session restores a program with "-session ID", so
// these must not count as wrong.
constexpr std::array QtValueOptions = {
    "platform"sv, "platformpluginpath"sv, "platformtheme"sv, "plugin"sv,  "session"sv,
    "qwindowgeometry"sv, "geometry"sv, "qwindowtitle"sv, "title"sv, "qwindowicon"sv,
    "icon"sv, "display"sv, "name"sv, "style"sv, "stylesheet"sv, "visual"sv,
};
constexpr std::array QtFlagOptions = {
    "reverse"sv, "widgetcount"sv, "testability"sv, "nograb"sv, "dograb"sv, "sync"sv,
};
constexpr std::array QtJoinedOptions = {"style="sv, "stylesheet="sv, "qmljsdebugger="sv};

template<std::size_t N>
bool among(const std::array<std::string_view, N> &names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool startsWithAny(std::string_view name)
{
    return std::any_of(QtJoinedOptions.begin(), QtJoinedOptions.end(),
                       [name](std::string_view prefix) { return name.starts_with(prefix); });
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// A full path as the open dialog would give it. ".." is left to the system
// (after a symbolic link it leads elsewhere than the text suggests), so the
// folder up to the last ".." is resolved on disk before anything is tidied.
QString absolutePath(const QString &name, const QString &currentFolder)
{
    QString path = QDir::isAbsolutePath(name) ? name : currentFolder + u'/' + name;
    QStringList parts = path.split(u'/');
    const qsizetype up = parts.lastIndexOf(QStringLiteral(".."));
    if (up >= 0) {
        const QString resolved =
            QFileInfo(parts.mid(0, up + 1).join(u'/')).canonicalFilePath();
        if (!resolved.isEmpty()) {
            parts = parts.mid(up + 1);
            parts.prepend(resolved);
            path = parts.join(u'/');
        }
    }
    return QDir::cleanPath(path);
}

} // namespace

CommandLine CommandLine::parse(const QList<QByteArray> &arguments, const QString &currentFolder)
{
    CommandLine line;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    QList<QByteArray> files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            files.append(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else {
            const std::string_view name = std::string_view(argument.constData(), argument.size())
                                              .substr(argument.startsWith("--") ? 2 : 1);
            if (among(QtValueOptions, name)) {
                if (i + 1 == arguments.size()) {
                    if (line.m_error.isEmpty())
                        line.m_error = QStringLiteral("После параметра «%1» нужно указать значение.")
                                           .arg(QFile::decodeName(argument));
                } else {
                    ++i;
                }
                if (name == "platform"sv || name == "display"sv)
                    line.m_displayChosen = true;
            } else if (!among(QtFlagOptions, name) && !startsWithAny(name) &&
                       line.m_error.isEmpty()) {
                line.m_error =
                    QStringLiteral("Неизвестный параметр «%1».").arg(QFile::decodeName(argument));
            }
        }
    }
    if (line.m_error.isEmpty() && files.size() > 1) {
        line.m_error = QStringLiteral("Можно открыть только один файл кроссворда, а названо %1.")
                           .arg(files.size());
    }
    if (line.m_error.isEmpty() && files.size() == 1 && files.first().isEmpty())
        line.m_error = QStringLiteral("Имя файла пустое.");

    if (help) {
        line.m_action = Action::Help;
    } else if (version) {
        line.m_action = Action::Version;
    } else if (!line.m_error.isEmpty()) {
        line.m_action = Action::Wrong;
    } else if (!files.isEmpty()) {
        line.m_fileName = absolutePath(QFile::decodeName(files.first()), currentFolder);
        // Such a name cannot be kept in a QString; reading it would look for
        // another file and wrongly report this one missing.
        if (!isValidUtf8(files.first()))
            line.m_fileNameProblem = QStringLiteral("имя файла записано не в кодировке UTF-8");
    }
    return line;
}

bool CommandLine::hasDisplay(const QProcessEnvironment &environment) const
{
    if (m_displayChosen)
        return true;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty())
            return true;
    }
    return false;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Использование: kvarcella [ФАЙЛ.crs]\n"
        "\n"
        "Кварцелла 2.0 — кроссворды для уроков: учитель составляет, ученик разгадывает.\n"
        "Без файла открывается первое окно программы. С файлом сразу открывается окно\n"
        "ученика с этим кроссвордом, как после кнопки «открыть».\n"
        "\n"
        "Параметры:\n"
        "  -h, --help   показать эту справку\n"
        "  --version    показать версию программы\n"
        "\n"
        "Печать, проверка и составление кроссвордов: kvarcella-tool --help\n");
}

QString CommandLine::versionText()
{
    return QStringLiteral("Кварцелла 2.0, версия %1\n"
                          "Лицензия: GNU GPL версии 3 или более поздней.\n")
        .arg(QStringLiteral(KVARCELLA_VERSION));
}

QString CommandLine::noDisplayText()
{
    return QStringLiteral("kvarcella: нет экрана для окон программы (не заданы DISPLAY и "
                          "WAYLAND_DISPLAY); запустите её на рабочем столе.\n");
}

QString CommandLine::displayFailedText(const QString &display)
{
    return QStringLiteral("kvarcella: не удалось открыть окно на экране «%1».\n").arg(display);
}
