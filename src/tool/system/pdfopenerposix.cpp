// The POSIX face of PdfOpener: xdg-open.
#include "pdfopener.h"

#include "filefailurereason.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

bool PdfOpener::privateFolder(QString *path, QString *reason)
{
    *path = QDir(QDir::tempPath()).filePath(QStringLiteral("kvarcella-%1").arg(geteuid()));
    const QByteArray native = QFile::encodeName(*path);
    struct stat status = {};
    if ((mkdir(native.constData(), 0700) != 0 && errno != EEXIST) ||
        lstat(native.constData(), &status) != 0) {
        *reason = FileFailureReason::fromErrno(errno);
        return false;
    }
    // Anything found at the name may have been put there by someone else to
    // catch the PDF (a link to one of the user's files) or to read it.
    if (S_ISLNK(status.st_mode))
        *reason = QStringLiteral("на её месте стоит символическая ссылка");
    else if (!S_ISDIR(status.st_mode))
        *reason = QStringLiteral("на её месте стоит файл");
    else if (status.st_uid != geteuid())
        *reason = QStringLiteral("папка принадлежит другому пользователю");
    else if ((status.st_mode & 077) != 0)
        *reason = QStringLiteral("папка открыта другим пользователям");
    else
        return true;
    return false;
}

QString PdfOpener::openerName()
{
    return QStringLiteral("программа xdg-open");
}

PdfOpener::Outcome PdfOpener::show(const QString &file, std::chrono::milliseconds patience)
{
    // Its own session and no terminal: the viewer outlives the tool, and
    // neither xdg-open's English nor the viewer's reaches the user.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);

    QByteArray program("xdg-open");
    QByteArray argument = QFile::encodeName(file);
    char *arguments[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int error = posix_spawnp(&child, program.constData(), &actions, &attributes, arguments,
                                   environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return Outcome::NoOpener;

    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Shown
                                                                 : Outcome::NoViewer;
        // Gone without a status (children not waited for): nothing to tell.
        if (ended < 0 && errno != EINTR)
            return Outcome::Shown;
        if (std::chrono::steady_clock::now() >= deadline)
            return Outcome::Shown;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
