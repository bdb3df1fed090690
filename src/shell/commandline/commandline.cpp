#include "commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cctype>
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

// "scheme://...": an address rather than a file name. A drive ("C:") has a
// one-letter scheme and no slashes.
bool isAddress(const QByteArray &argument)
{
    const qsizetype end = argument.indexOf("://");
    if (end < 2 || !std::isalpha(uchar(argument[0])))
        return false;
    return std::all_of(argument.begin(), argument.begin() + end, [](char c) {
        return std::isalnum(uchar(c)) || c == '+' || c == '-' || c == '.';
    });
}

// A full path as the open dialog would give it. ".." is left to the system
// (after a symbolic link it leads elsewhere than the text suggests), so the
// folder up to the last ".." is resolved on disk before anything is tidied.
QString absolutePath(const QString &name, const QString &currentFolder)
{
    QString path = QDir::isAbsolutePath(name) ? name : QDir::fromNativeSeparators(currentFolder) + u'/' + name;
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
                                           .arg(QString::fromUtf8(argument));
                } else {
                    ++i;
                    if (name == "platform"sv) {
                        line.m_platformGiven = true;
                        line.m_platform = QString::fromUtf8(arguments[i]);
                    } else if (name == "display"sv) {
                        line.m_displayGiven = true;
                        line.m_display = QString::fromUtf8(arguments[i]);
                    }
                }
            } else if (!among(QtFlagOptions, name) && !startsWithAny(name) &&
                       line.m_error.isEmpty()) {
                line.m_error =
                    QStringLiteral("Неизвестный параметр «%1».").arg(QString::fromUtf8(argument));
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
        const NamedFile file = namedFile(files.first());
        if (!file.error.isEmpty()) {
            line.m_action = Action::Wrong;
            line.m_error = file.error;
            return line;
        }
        line.m_fileName = absolutePath(file.name, currentFolder);
        // Such a name cannot be kept in a QString; reading it would look for
        // another file and wrongly report this one missing.
        if (file.notUtf8)
            line.m_fileNameProblem = QStringLiteral("имя файла записано не в кодировке UTF-8");
    }
    return line;
}

CommandLine::NamedFile CommandLine::namedFile(const QByteArray &argument)
{
    NamedFile file;
    if (!isAddress(argument)) {
        file.name = QDir::fromNativeSeparators(QString::fromUtf8(argument));
        file.notUtf8 = !isValidUtf8(argument);
        return file;
    }
    const QString shown = QString::fromUtf8(argument);
    QUrl url(shown);
    if (!url.isValid() || !url.isLocalFile() || url.path().isEmpty()) {
        file.error = QStringLiteral("«%1» — это адрес в сети, а не файл. Сохраните кроссворд на "
                                    "этот компьютер и назовите сохранённый файл.")
                         .arg(shown);
        return file;
    }
    if (!url.host().isEmpty() && url.host().compare(QStringLiteral("localhost"), Qt::CaseInsensitive)) {
        file.error = QStringLiteral("«%1» — файл на другом компьютере («%2»). Сохраните кроссворд "
                                    "на этот компьютер и назовите сохранённый файл.")
                         .arg(shown, QUrl::fromAce(url.host(QUrl::FullyEncoded).toLatin1(), QUrl::IgnoreIDNWhitelist));
        return file;
    }
    url.setHost(QString());
    // %-escapes stand for bytes, which must be UTF-8 as much as a typed name.
    file.notUtf8 = !isValidUtf8(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    file.name = url.toLocalFile();
    return file;
}

QString CommandLine::startFailedText(const QProcessEnvironment &environment,
                                     StartFailure failure) const
{
    const QString wayland = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (failure.x11) {
        const QString display =
            m_displayGiven ? m_display : environment.value(QStringLiteral("DISPLAY"));
        if (!display.isEmpty())
            return QStringLiteral("kvarcella: не удалось открыть окно на экране «%1».\n").arg(display);
        if (wayland.isEmpty())
            return noDisplayText();
        if (failure.wayland)
            return QStringLiteral("kvarcella: не удалось открыть окно ни на экране Wayland «%1», "
                                  "ни на экране X11 (не задан DISPLAY).\n")
                .arg(wayland);
        return QStringLiteral("kvarcella: в сеансе Wayland «%1» без X11 (не задан DISPLAY) окно "
                              "не открыть: библиотеке Qt здесь нужен XWayland или пакет "
                              "qt6-wayland.\n")
            .arg(wayland);
    }
    if (failure.wayland) {
        return QStringLiteral("kvarcella: не удалось открыть окно на экране Wayland «%1».\n")
            .arg(wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland);
    }
    const QString platform =
        m_platformGiven ? m_platform : environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (!platform.isEmpty()) {
        return QStringLiteral("kvarcella: платформа окон «%1» (%2) не найдена или не "
                              "запускается.\n")
            .arg(platform, m_platformGiven ? QStringLiteral("параметр -platform")
                                           : QStringLiteral("переменная QT_QPA_PLATFORM"));
    }
    return QStringLiteral("kvarcella: не удалось открыть окно программы.\n");
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
