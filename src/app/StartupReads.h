#pragma once
// Start-up's reading of the data files, and all that the reading tells the
// user: the status window goes first; a file that cannot be used ends the
// program without writing any file.

// Fills the main window's grid from the schedule file; false when the
// program is ending instead.
bool LoadSchedules();
// Reads the options and opens the user's sound; false when the program is
// ending instead.
bool LoadSettings();
void LoadHistory();
