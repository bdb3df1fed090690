// The Windows face of FileIdentity.
#include "fileidentity.h"

#include "windowsfile.h"

namespace {

std::optional<BY_HANDLE_FILE_INFORMATION> informationOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return info;
}

} // namespace

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    // No access asked, so that a file another program holds open is looked
    // at all the same; links are followed, folders allowed.
    WindowsFile::Handle file(::CreateFileW(WindowsFile::nativePath(path).c_str(), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                           nullptr));
    if (!file.valid())
        return std::nullopt;
    const auto info = informationOf(file.get());
    if (!info)
        return std::nullopt;
    return FileIdentity(info->dwVolumeSerialNumber,
                        (quint64(info->nFileIndexHigh) << 32) | info->nFileIndexLow);
}

std::optional<FileIdentity> FileIdentity::ofStandardOutput()
{
    const auto info = informationOf(::GetStdHandle(STD_OUTPUT_HANDLE));
    if (!info)
        return std::nullopt;
    return FileIdentity(info->dwVolumeSerialNumber,
                        (quint64(info->nFileIndexHigh) << 32) | info->nFileIndexLow);
}
