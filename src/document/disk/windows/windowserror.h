#pragma once

// Windows only: a Win32 error code (GetLastError) as the errno value with the
// same meaning, so that every failure is worded by FileFailureReason as on
// POSIX. A file another program holds open is EBUSY ("файл занят другой
// программой"); a name Windows does not allow is EILSEQ.
namespace WindowsError {
int toErrno(unsigned long error);
// toErrno(GetLastError()).
int last();
} // namespace WindowsError
