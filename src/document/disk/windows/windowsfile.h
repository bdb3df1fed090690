#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>

#include <windows.h>

// Windows only: what the Windows faces of the file code share.
namespace WindowsFile {

// Closes its handle when it goes.
class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(Handle &&other) noexcept : m_handle(other.m_handle)
    {
        other.m_handle = INVALID_HANDLE_VALUE;
    }
    ~Handle()
    {
        if (valid())
            ::CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle &operator=(Handle &&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    // Closes now, since closing can report a lost write.
    bool close()
    {
        const bool closed = !valid() || ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// The full path with back slashes, and in the "\\?\" form when it is too
// long for the ordinary one.
std::wstring nativePath(const QString &path);
// The path of the file behind an open handle, links followed; "" when unknown.
std::wstring finalPath(HANDLE file);
// Writes all of bytes, in pieces WriteFile takes; false with errno's code (or
// Windows' own, through WindowsError) when it cannot.
bool writeAll(HANDLE file, QByteArrayView bytes, int *error);

} // namespace WindowsFile
