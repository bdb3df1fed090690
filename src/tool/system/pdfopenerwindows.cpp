// The Windows face of PdfOpener: the shell opens the file as a double-click would.
#include "pdfopener.h"

#include "filefailurereason.h"
#include "windowserror.h"
#include "windowsfile.h"

#include <QDir>

#include <objbase.h>
#include <shellapi.h>

bool PdfOpener::privateFolder(QString *path, QString *reason)
{
    // The user's own temporary folder, which others cannot enter.
    *path = QDir(QDir::tempPath()).filePath(QStringLiteral("kvarcella"));
    const std::wstring native = WindowsFile::nativePath(*path);
    if (!::CreateDirectoryW(native.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        *reason = FileFailureReason::fromErrno(WindowsError::last());
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *reason = FileFailureReason::fromErrno(WindowsError::last());
        return false;
    }
    // A link or junction put there would send the PDF elsewhere.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        *reason = QStringLiteral("на её месте стоит символическая ссылка");
    else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        *reason = QStringLiteral("на её месте стоит файл");
    else
        return true;
    return false;
}

QString PdfOpener::openerName()
{
    return QStringLiteral("оболочка Windows");
}

PdfOpener::Outcome PdfOpener::show(const QString &file, std::chrono::milliseconds)
{
    // The shell returns once the viewer has been started; no dialog of its
    // own (in English on many machines) for a missing viewer.
    const std::wstring native = WindowsFile::nativePath(file);
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    request.lpVerb = L"open";
    request.lpFile = native.c_str();
    request.nShow = SW_SHOWNORMAL;
    // Some viewers are reached through COM, which the shell expects set up.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool started = ::ShellExecuteExW(&request);
    const DWORD error = ::GetLastError();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (started)
        return Outcome::Shown;
    switch (error) {
    case ERROR_NO_ASSOCIATION:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Outcome::NoViewer;
    default:
        return Outcome::NoOpener;
    }
}
