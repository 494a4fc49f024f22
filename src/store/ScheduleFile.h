#pragma once
// The schedule file velsokura.txt and the routines that move schedules
// between the grid and it.

#include <QString>

class FlexGrid;
struct ReadResult;

namespace ScheduleFile {

// Between the key and the text on every schedule line.
inline const QString FieldSeparator = QStringLiteral("#:;*$=\\#:\\*;");
inline const QString FileName = QStringLiteral("velsokura.txt");
// Beside it: the lines read from it that could be no schedule, kept for the user.
inline const QString BadLinesFileName = QStringLiteral("velsokura_bad.txt");
inline const QString HeaderKey = QStringLiteral("   日付時間");
inline const QString HeaderText = QStringLiteral("                                      予定");

// Header captions and column widths of the schedule grid.
void SetGridHeader(FlexGrid* grid);

} // namespace ScheduleFile

// Lines sorted ascending (order 0) or descending (1), each ended by CR LF.
QString SortLines(const QString& text, int order);

// The grid's schedules as file lines in the grid's order, CR LF between them.
QString GridScheduleLines(FlexGrid* grid);
void SaveGridSchedules(FlexGrid* grid);
void WriteScheduleFile();
// False when the file could not be written.
bool WriteScheduleFileAtExit();
void SortAndSaveGrid(FlexGrid* grid);

// Fills the grid from the file. A line that can be no schedule is added to
// the bad-lines file and named in the result; the file unusable only when
// that cannot be written.
ReadResult ReadSchedules(FlexGrid* grid);
