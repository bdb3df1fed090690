// The Windows face of the writer: see safefilewriter.h.
#include "safefilewriter.h"

#include "windowsfile.h"
#include "windowserror.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <string>

#include <windows.h>

namespace {

using Result = SafeFileWriter::Result;
using Outcome = SafeFileWriter::Outcome;
using WindowsFile::Handle;
using WindowsFile::writeAll;

Result failure(Outcome outcome, int error, bool existed)
{
    return Result{outcome, error, existed};
}

bool seek(HANDLE file, qint64 offset)
{
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

bool truncateAt(HANDLE file, qint64 size)
{
    return seek(file, size) && ::SetEndOfFile(file);
}

Result writeInPlace(const std::wstring &target, const QByteArray &bytes)
{
    // Nobody else may write while the old contents are kept and replaced.
    Handle file(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failure(Outcome::NothingChanged, WindowsError::last(), true);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return failure(Outcome::NothingChanged, WindowsError::last(), true);
    if (size.QuadPart > SafeFileWriter::MaxKeptBytes)
        return failure(Outcome::NothingChanged, SafeFileWriter::TooLargeToKeep, true);

    QByteArray old(qsizetype(size.QuadPart), Qt::Uninitialized);
    DWORD got = 0;
    if (!old.isEmpty() && (!::ReadFile(file.get(), old.data(), DWORD(old.size()), &got, nullptr) ||
                           got != DWORD(old.size())))
        return failure(Outcome::NothingChanged, got ? EIO : WindowsError::last(), true);
    const qint64 oldSize = old.size();
    const qint64 newSize = bytes.size();

    // The room for the whole new contents is claimed before the first byte
    // changes: as allocation where the file system takes it, else by making
    // the file that long (Windows' file systems give a file that is not
    // sparse all its clusters), which is undone on failure.
    if (newSize > oldSize) {
        FILE_ALLOCATION_INFO room{};
        room.AllocationSize.QuadPart = newSize;
        if (!::SetFileInformationByHandle(file.get(), FileAllocationInfo, &room, sizeof room)) {
            const DWORD error = ::GetLastError();
            const bool unsupported = error == ERROR_INVALID_PARAMETER ||
                                     error == ERROR_INVALID_FUNCTION ||
                                     error == ERROR_NOT_SUPPORTED ||
                                     error == ERROR_CALL_NOT_IMPLEMENTED;
            if (!unsupported)
                return failure(Outcome::NothingChanged, WindowsError::toErrno(error), true);
            if (!truncateAt(file.get(), newSize)) {
                const int reason = WindowsError::last();
                return failure(truncateAt(file.get(), oldSize) ? Outcome::NothingChanged
                                                               : Outcome::PartlyWritten,
                               reason, true);
            }
        }
    }

    // Whatever stops the write from here on, the old contents go back first.
    const auto restore = [&](int reason) {
        int ignored = 0;
        const bool restored = seek(file.get(), 0) && writeAll(file.get(), old, &ignored) &&
                              truncateAt(file.get(), oldSize) && ::FlushFileBuffers(file.get());
        return failure(restored ? Outcome::NothingChanged : Outcome::PartlyWritten, reason, true);
    };
    int error = 0;
    if (!seek(file.get(), 0) || !writeAll(file.get(), bytes, &error))
        return restore(error ? error : WindowsError::last());
    if (newSize < oldSize && !truncateAt(file.get(), newSize))
        return restore(WindowsError::last());
    if (!::FlushFileBuffers(file.get()))
        return restore(WindowsError::last());
    if (!file.close())
        return failure(Outcome::PartlyWritten, WindowsError::last(), true);
    return Result{};
}

// ".NAME.XXXXXX" beside the file, made anew so that nothing else is
// overwritten; NAME cut where the whole would pass 255 characters.
Handle createTemporary(const std::wstring &folder, const std::wstring &name, std::wstring *path)
{
    const QString whole = QString::fromStdWString(name);
    qsizetype keep = std::clamp<qsizetype>(255 - 8, 0, whole.size());
    if (keep > 0 && keep < whole.size() && whole[keep].isLowSurrogate())
        --keep;
    const std::wstring stem = folder + L"\\." + whole.left(keep).toStdWString() + L".";
    static constexpr char16_t Letters[] = u"abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring suffix;
        for (int i = 0; i < 6; ++i)
            suffix += wchar_t(Letters[QRandomGenerator::global()->bounded(36)]);
        *path = stem + suffix;
        Handle file(::CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return Handle(INVALID_HANDLE_VALUE);
}

} // namespace

SafeFileWriter::Result SafeFileWriter::write(const QString &path, const QByteArray &bytes)
{
    std::wstring target = WindowsFile::nativePath(path);
    bool existed = false;
    bool otherNames = false;
    {
        // Opened to be looked at only, through links to the file itself.
        Handle probe(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!probe.valid()) {
            if (::GetLastError() != ERROR_FILE_NOT_FOUND)
                return failure(Outcome::NothingChanged, WindowsError::last(), false);
        } else {
            existed = true;
            BY_HANDLE_FILE_INFORMATION info{};
            if (!::GetFileInformationByHandle(probe.get(), &info))
                return failure(Outcome::NothingChanged, WindowsError::last(), true);
            if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                return failure(Outcome::NothingChanged, EISDIR, true);
            if (::GetFileType(probe.get()) != FILE_TYPE_DISK)
                return failure(Outcome::NothingChanged, ENODEV, true);
            // A read-only file stays so, even where the folder would let it be replaced.
            if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                return failure(Outcome::NothingChanged, EACCES, true);
            otherNames = info.nNumberOfLinks > 1;
            const std::wstring final = WindowsFile::finalPath(probe.get());
            if (!final.empty())
                target = final;
        }
    }
    if (existed) {
        // Another program holding the file open, or rights that deny writing,
        // are found before anything is written.
        Handle check(::CreateFileW(target.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!check.valid())
            return failure(Outcome::NothingChanged, WindowsError::last(), true);
    }
    // A new file would leave the other names with the old contents.
    if (otherNames)
        return writeInPlace(target, bytes);

    const std::size_t slash = target.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    std::wstring temporary;
    Handle file = createTemporary(folder, name, &temporary);
    if (!file.valid()) {
        const int error = WindowsError::last();
        // A folder the user cannot write may still hold a file the user can.
        if (existed && (error == EACCES || error == EROFS))
            return writeInPlace(target, bytes);
        return failure(Outcome::NothingChanged, error, existed);
    }

    const auto abandon = [&](int reason) {
        file.close();
        ::DeleteFileW(temporary.c_str());
        return failure(Outcome::NothingChanged, reason, existed);
    };
    int error = 0;
    if (!writeAll(file.get(), bytes, &error))
        return abandon(error);
    if (!::FlushFileBuffers(file.get()))
        return abandon(WindowsError::last());
    if (!file.close())
        return abandon(WindowsError::last());

    const auto move = [&] {
        if (::MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Result{};
        return abandon(WindowsError::last());
    };
    if (!existed)
        return move();

    // The old file steps aside under a name of its own while the new one takes
    // its place, so that no failure part-way can lose it.
    const std::wstring aside = temporary + L"~";
    if (::ReplaceFileW(target.c_str(), temporary.c_str(), aside.c_str(),
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        ::DeleteFileW(aside.c_str());
        return Result{};
    }
    const DWORD refused = ::GetLastError();
    switch (refused) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        // The old file is under the aside name: it goes back.
        if (!::MoveFileExW(aside.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            ::DeleteFileW(temporary.c_str());
            return failure(Outcome::PartlyWritten, EBUSY, true);
        }
        return abandon(EBUSY);
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
        // A file system without ReplaceFileW: a plain replacement.
        return move();
    case ERROR_ACCESS_DENIED: {
        // The folder refuses the replacement; the file itself may still be written.
        abandon(EACCES);
        return writeInPlace(target, bytes);
    }
    default:
        return abandon(WindowsError::toErrno(refused));
    }
}
