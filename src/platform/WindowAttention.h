#pragma once
// A window that must be seen, on a desktop that neither keeps it above the
// user's windows nor lets it come up without the keyboard: a Wayland
// compositor grants a client neither (GNOME's gives every new window the
// keyboard). There the desktop's own notification stands in for "above", and
// keys typed for another window are kept from answering it. Where the window
// manager does both (X11, Windows) nothing is added.

class QString;
class QWidget;

// While window is up without the keyboard (covered, most likely) for a
// moment, a notification of the desktop's own, with title and text, tells of
// it; a click on it brings the window. Withdrawn when the window gets the
// keyboard or hides. Called again, the new texts replace the old.
void KeepInSight(QWidget* window, const QString& title, const QString& text);

// Keys reach window, once shown, only after the user has sought it: clicked
// or moved the pointer in it, or come back to it from another window. Until
// then they were typed for the window it took the keyboard from.
void HoldStrayKeys(QWidget* window);
