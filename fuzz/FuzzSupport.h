#pragma once
// The program as each fuzz input meets it: one offscreen application and
// program folder, a fresh state for every input, every box answered at once.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

class frmMain;

QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size);

// Puts the input into the program folder as the named data file, resets the
// program's state and gives the main window (a new one when the last input
// ended the program).
frmMain* FuzzStart(const QString& file, const QByteArray& bytes);

// Stops the run with a report: a property that must hold did not.
void FuzzFail(const char* what);
