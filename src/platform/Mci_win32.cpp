#include "platform/Mci.h"

#include "platform/MciCommand.h"

#include <QFileInfo>
#include <QStringList>
#include <map>

// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

// An open MCI device keeps the system's audio output running (under Wine its
// mixer threads wake hundreds of times a second) though nothing plays. So an
// open only takes note of the file: the device opens at each play and closes
// when the play ends, is stopped or is closed.

namespace {

struct Channel {
    QString open;      // the open command, sent at each play
    bool live = false; // the device is open
};

std::map<QString, Channel>& Channels() {
    static std::map<QString, Channel> channels; // by alias, lower case
    return channels;
}

bool SendToWinmm(const QString& command, HWND notify = nullptr) {
    // The wide form takes any path, whatever the system's ANSI code page.
    return mciSendStringW(reinterpret_cast<const wchar_t*>(command.utf16()), nullptr, 0, notify) ==
           0;
}

void Release(const QString& alias, Channel& channel) {
    if (!channel.live) return;
    channel.live = false;
    SendToWinmm(QStringLiteral("close ") + alias);
}

bool Playing(const QString& alias) {
    wchar_t mode[32] = {};
    const QString query = QStringLiteral("status %1 mode").arg(alias);
    const auto asked =
        mciSendStringW(reinterpret_cast<const wchar_t*>(query.utf16()), mode, 32, nullptr);
    return asked == 0 && QString::fromWCharArray(mode) == QLatin1String("playing");
}

// A play's end, told by winmm to this window. Which device it names is not
// to be trusted (Wine's MPEG driver names none), so every open device whose
// play is over is let go; a device playing again since is kept.
LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM flag, LPARAM device) {
    if (message != MM_MCINOTIFY) return DefWindowProcW(window, message, flag, device);
    // A stop or a close has let go already (aborted, superseded).
    if (flag != MCI_NOTIFY_SUCCESSFUL && flag != MCI_NOTIFY_FAILURE) return 0;
    QStringList failed;
    for (auto& [alias, channel] : Channels()) {
        if (!channel.live || Playing(alias)) continue;
        Release(alias, channel);
        if (flag == MCI_NOTIFY_FAILURE) failed.append(alias);
    }
    // Told last: a report may play another sound.
    for (const QString& alias : failed)
        Mci::ReportUnplayable(alias);
    return 0;
}

HWND NotifyWindow() {
    static const HWND window = [] {
        WNDCLASSW type{};
        type.lpfnWndProc = NotifyProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"velsokuraSoundEnd";
        RegisterClassW(&type);
        return CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               type.hInstance, nullptr);
    }();
    return window;
}

// The device opened for a play, or false as winmm refuses a play whose file
// it could not open or cannot decode.
bool Play(const QString& alias, const QString& command) {
    const auto it = Channels().find(alias);
    if (it == Channels().end()) return false;
    Channel& channel = it->second;
    Release(alias, channel);
    if (!SendToWinmm(channel.open)) return false;
    channel.live = true;
    if (SendToWinmm(command + QStringLiteral(" notify"), NotifyWindow())) return true;
    Release(alias, channel);
    return false;
}

} // namespace

bool Mci::SendToSystem(const QString& command) {
    const MciCommand c = MciCommand::Parse(command);
    switch (c.kind) {
    case MciCommand::Open:
        // As with MCI: an alias in use, or a missing file, fails.
        if (!Channels().count(c.alias) && QFileInfo(c.path).isFile())
            Channels()[c.alias].open = command;
        break;
    case MciCommand::Play:
        if (!Play(c.alias, command)) Mci::ReportUnplayable(c.alias);
        break;
    case MciCommand::Stop:
        if (const auto it = Channels().find(c.alias); it != Channels().end())
            Release(c.alias, it->second);
        break;
    case MciCommand::Close:
        if (const auto it = Channels().find(c.alias); it != Channels().end()) {
            Release(c.alias, it->second);
            Channels().erase(it);
        }
        break;
    case MciCommand::Other:
        SendToWinmm(command);
        break;
    }
    return true;
}
