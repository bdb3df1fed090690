#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// What makes two names one file: the device and inode on POSIX, the volume's
// serial number and the file index on Windows. So a hard link, a symbolic
// link, a mount or another spelling of the path all give the same identity.
// A POSIX and a Windows face.
class FileIdentity
{
public:
    // Nothing when the file cannot be looked at (it does not exist).
    static std::optional<FileIdentity> of(const QString &path);
    // The file that standard output was sent into; nothing for a terminal,
    // a pipe or a closed stream.
    static std::optional<FileIdentity> ofStandardOutput();

    bool operator==(const FileIdentity &other) const = default;

private:
    FileIdentity(quint64 volume, quint64 index) : m_volume(volume), m_index(index) {}

    quint64 m_volume = 0;
    quint64 m_index = 0;
};
