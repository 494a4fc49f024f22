#pragma once
#include <QString>

// A reader's message at start-up: the status window goes first.
void TellWhileLoading(const QString& message);
// A data file that cannot be used: tell, then end without writing any file.
// Always false, for the reader to return.
bool EndLoading(const QString& message);
