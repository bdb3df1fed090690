#include "windowsfile.h"

#include <QDir>
#include <QFileInfo>

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
