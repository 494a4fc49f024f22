#pragma once
// The main window's controls are locked while a dialog is up.

void DisableMainControls();
void EnableMainControls();

// Reset all is enabled with two or more schedule rows; otherwise the cursor
// goes to row 1 (and to column 1 when asked) and row 1's key decides.
void UpdateResetButton(bool toFirstColumn);
