#include "platform/SingleInstance.h"

#include <windows.h>

namespace SingleInstance {

namespace {
HANDLE g_mutex = nullptr;
} // namespace

// A named mutex in the user's session; Windows closes it with the process,
// however it ends. Paths are the same folder in any letter case.
Result Acquire(const QString& dataFolder) {
    const QString name = QStringLiteral("Local\\") + LockName(FolderKey(dataFolder).toCaseFolded());
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    if (!mutex) return Result::Unavailable;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return Result::AlreadyRunning;
    }
    Release();
    g_mutex = mutex;
    return Result::Acquired;
}

void Release() {
    if (g_mutex) ::CloseHandle(g_mutex);
    g_mutex = nullptr;
}

} // namespace SingleInstance
