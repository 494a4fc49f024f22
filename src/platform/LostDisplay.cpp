#include "platform/LostDisplay.h"

#include <cstdlib>
#include <thread>

namespace {

std::function<void()>& Armed() {
    static std::function<void()> save;
    return save;
}
std::thread::id g_armedOn;

void SaveAtProcessExit() {
    // Widgets live on their own thread only; an exit from another one
    // cannot touch them.
    if (!Armed() || std::this_thread::get_id() != g_armedOn) return;
    const std::function<void()> save = std::move(Armed());
    Armed() = nullptr;
    save();
}

} // namespace

SaveOnLostDisplay::SaveOnLostDisplay(std::function<void()> save) {
    static const bool registered = std::atexit(SaveAtProcessExit) == 0;
    if (!registered) return;
    g_armedOn = std::this_thread::get_id();
    Armed() = std::move(save);
}

SaveOnLostDisplay::~SaveOnLostDisplay() {
    Armed() = nullptr;
}
