#pragma once
// The main window's controls are locked while a dialog is up.

void DisableMainControls();
// Does nothing while the lock is held.
void EnableMainControls();

// The one rule: a loaded window holds the lock (VbForm::HoldsMainLock).
bool MainLocked();

// Reset all is enabled with two or more schedule rows; otherwise the cursor
// goes to row 1 (and to column 1 when asked) and row 1's key decides. Never
// while locked.
void UpdateResetButton(bool toFirstColumn);
