#pragma once
// Waiting for the program's own message boxes while events keep flowing.

#include <QString>

void WaitForNotice();
void WaitForAnswer();

// Shows the notice box with the text and waits until it is closed; while
// the session ends, writes the text to standard error instead.
void ShowNotice(const QString& text);
// Asks the question box and waits; true only for Yes.
bool AskQuestion(const QString& text);

// Who gives the main window back after a dialog closed.
enum class RestoreCaller { AlarmWindow, MessageBox, OptionsWindow, HistoryWindow };
void RestoreMainButtons(RestoreCaller caller);
