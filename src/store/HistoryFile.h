#pragma once
// RirekiData.dat: the history exactly as held, then CR LF.

void LoadHistory();
void WriteHistoryFile();
