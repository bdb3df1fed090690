// The Windows face of FileBytes.
#include "filebytes.h"

#include "windowserror.h"
#include "windowsfile.h"

#include <algorithm>

FileBytes::Status FileBytes::read(const QString &path, qint64 limit, QByteArray *bytes, int *error)
{
    // Others may go on reading, writing, renaming or deleting it meanwhile, as
    // they could while the crossword was only looked at.
    WindowsFile::Handle file(::CreateFileW(WindowsFile::nativePath(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                           nullptr));
    if (!file.valid()) {
        *error = WindowsError::last();
        return Status::Failed;
    }
    // A pipe or a console: reading could wait for ever.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return Status::NotAFile;
    QByteArray read(limit + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < read.size()) {
        DWORD n = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(read.size() - got, 1 << 20));
        if (!::ReadFile(file.get(), read.data() + got, chunk, &n, nullptr)) {
            *error = WindowsError::last();
            return Status::Failed;
        }
        if (n == 0)
            break;
        got += n;
    }
    read.truncate(got);
    *bytes = std::move(read);
    return Status::Read;
}
