#include "filefailurereason.h"

#include <QDir>

#include <cerrno>

#include <windows.h>

QString FileFailureReason::ofMissingPath(const QString &path)
{
    // Opening for no access at all follows links as reading would, and reads nothing.
    const HANDLE file =
        ::CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return {};
    }
    switch (::GetLastError()) {
    case ERROR_CANT_RESOLVE_FILENAME:
        return fromErrno(ELOOP);
    case ERROR_ACCESS_DENIED:
        return fromErrno(EACCES);
    default:
        return {};
    }
}
