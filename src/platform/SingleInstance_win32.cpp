#include "platform/SingleInstance.h"

#include <QDir>

#include <windows.h>

namespace SingleInstance {

namespace {
HANDLE g_file = INVALID_HANDLE_VALUE;
} // namespace

// A file of the folder opened without sharing: every spelling of the folder
// (letter case, short names, links) reaches the same file, no second open of
// it succeeds while it is held, and Windows closes and deletes it when the
// process ends, however it ends.
Result Acquire(const QString& dataFolder) {
    const QString path = QDir::toNativeSeparators(LockFile(dataFolder));
    HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()),
                                GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? Result::AlreadyRunning
                                                            : Result::Unavailable;
    Release();
    g_file = file;
    return Result::Acquired;
}

void Release() {
    if (g_file != INVALID_HANDLE_VALUE) ::CloseHandle(g_file);
    g_file = INVALID_HANDLE_VALUE;
}

} // namespace SingleInstance
