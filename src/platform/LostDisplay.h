#pragma once
// Qt's X11 and Wayland connections end the process with exit(1) when the
// display goes away, as it does when a logout ends the server before the
// program hears of it; no window closes and no quit event comes.

#include <functional>

// While one lives, a process exit that does not come back through main runs
// save first, on the thread that armed it; its end (main returning) disarms it.
class SaveOnLostDisplay {
  public:
    explicit SaveOnLostDisplay(std::function<void()> save);
    ~SaveOnLostDisplay();
    SaveOnLostDisplay(const SaveOnLostDisplay&) = delete;
    SaveOnLostDisplay& operator=(const SaveOnLostDisplay&) = delete;
};
