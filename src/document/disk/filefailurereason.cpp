#include "filefailurereason.h"

#include <cerrno>

QString FileFailureReason::fromErrno(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("неизвестная ошибка");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("нет такого файла или папки");
    case EACCES:
    case EPERM:
        return QStringLiteral("доступ запрещён");
    case ENOSPC:
#ifdef EDQUOT // not every C library has a quota error
    case EDQUOT:
#endif
        return QStringLiteral("диск заполнен");
    // The size limit of the process (ulimit -f) or of the file system, while
    // the disk may well have room.
    case EFBIG:
        return QStringLiteral("превышен допустимый размер файла");
    case ELOOP:
        return QStringLiteral("слишком много символических ссылок");
    case EOPNOTSUPP:
        return QStringLiteral("действие не поддерживается");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case ENODEV:
        return QStringLiteral("это не обычный файл");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case EIO:
        return QStringLiteral("ошибка чтения или записи на диске");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("файл занят другой программой");
    // Characters the file system does not allow in a name (on Windows < > : " | ? *).
    case EILSEQ:
        return QStringLiteral("в имени файла есть недопустимые знаки");
    default:
        // Windows' own error numbers come shifted past errno's (see windowserror.h).
        if (error > 100000)
            return QStringLiteral("ошибка Windows номер %1").arg(error - 100000);
        return QStringLiteral("системная ошибка номер %1").arg(error);
    }
}

QString FileFailureReason::fromFileError(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
    case QFileDevice::FatalError:
        return QStringLiteral("неизвестная ошибка");
    case QFileDevice::ReadError:
        return QStringLiteral("ошибка чтения");
    case QFileDevice::WriteError:
        return QStringLiteral("ошибка записи");
    case QFileDevice::ResourceError:
        return QStringLiteral("диск заполнен или не хватает памяти");
    case QFileDevice::OpenError:
        return QStringLiteral("файл не удалось открыть");
    case QFileDevice::AbortError:
        return QStringLiteral("операция прервана");
    case QFileDevice::TimeOutError:
        return QStringLiteral("истекло время ожидания");
    case QFileDevice::RemoveError:
        return QStringLiteral("файл не удалось удалить");
    case QFileDevice::RenameError:
        return QStringLiteral("файл не удалось переименовать");
    case QFileDevice::PositionError:
        return QStringLiteral("ошибка перемещения по файлу");
    case QFileDevice::ResizeError:
        return QStringLiteral("не удалось изменить размер файла");
    case QFileDevice::PermissionsError:
        return QStringLiteral("не удалось изменить права доступа");
    case QFileDevice::CopyError:
        return QStringLiteral("файл не удалось скопировать");
    }
    return QStringLiteral("неизвестная ошибка");
}
