#pragma once
// Which of the desktop's display connections the program uses. Called before
// the application object is made.

#ifdef _WIN32
inline void ChooseDisplayConnection() {}
#else
// In a Wayland session that also offers X11 (Xwayland), X11 unless the user
// has chosen (QT_QPA_PLATFORM): there the window manager keeps the alarm
// above the user's windows, centres it and lets it come up without taking
// the keyboard, which Wayland leaves to the compositor and GNOME's does not
// grant a client.
void ChooseDisplayConnection();
#endif
