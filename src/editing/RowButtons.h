#pragma once
// Row selection on the schedule grid and the buttons that follow it.

void UpdateRowButtons();
void ClearSelection();
