#include "windowsfile.h"

#include "windowserror.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

std::wstring WindowsFile::nativePath(const QString &path)
{
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString longForm = QStringLiteral("\\\\?\\");
    if (native.size() >= MAX_PATH - 12 && !native.startsWith(longForm)) {
        native = native.startsWith(QStringLiteral("\\\\"))
                     ? longForm + QStringLiteral("UNC\\") + native.mid(2)
                     : longForm + native;
    }
    return native.toStdWString();
}

std::wstring WindowsFile::finalPath(HANDLE file)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), DWORD(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

// A write that makes no progress is a full disk.
bool WindowsFile::writeAll(HANDLE file, QByteArrayView bytes, int *error)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 20));
        if (!::WriteFile(file, data, chunk, &written, nullptr)) {
            *error = WindowsError::last();
            return false;
        }
        if (written == 0) {
            *error = ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}
