#include "safefilewriter.h"

#include "filefailurereason.h"

QString SafeFileWriter::Result::reason() const
{
    switch (error) {
    case CannotReserve:
        return QStringLiteral("на этом диске нельзя заранее занять место для файла, а без этого "
                              "переписать его на месте небезопасно");
    case TooLargeToKeep:
        return QStringLiteral("файл больше 1 МиБ, и переписать его на месте без риска потерять "
                              "нельзя");
    default:
        return FileFailureReason::fromErrno(error);
    }
}
