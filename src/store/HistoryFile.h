#pragma once
// RirekiData.dat: the history exactly as held, then CR LF.

struct ReadResult;

// Unusable, the file is left as it is and the history stays empty.
ReadResult ReadHistory();
// False when the file could not be written.
bool WriteHistoryFile();

// Makes the export folder Rireki beside the executable when it is missing.
void EnsureHistoryFolder();
// Writes the history, newest first, to a new Rireki/yyyy_mm_dd_hh_nn_ss_NNNN.txt.
void ExportHistory();
