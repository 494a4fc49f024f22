#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

using namespace mdlMain;

void frmMain::RebuildGrid() {
    FlexGrid* grid = MSFlexGrid1;
    grid->SetRedraw(false);
    const int rows = grid->Rows();
    if (rows <= 2) {
        grid->SetRedraw(true);
        return;
    }
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    for (int i = 1; i < rows; ++i) {
        PumpEvents();
        text += grid->TextMatrix(i, 1) + grid->TextMatrix(i, 2) + crlf;
    }
    text = SortLines(text, 0);
    if (text.contains(crlf + crlf)) text.replace(crlf + crlf, crlf);
    if (!text.endsWith(crlf)) text += crlf;
    if (text.startsWith(crlf)) text.remove(0, 2);

    grid->Clear();
    ScheduleFile::SetGridHeader(grid);
    qsizetype start = 0;
    for (int i = 1; Quitting != 1; ++i) {
        const qsizetype end = text.indexOf(crlf, start);
        if (end < 0) break;
        const QString line = text.mid(start, end - start);
        grid->SetTextMatrix(i, 1, line.left(16));
        grid->SetTextMatrix(i, 2, line.mid(16));
        start = end + 2;
    }
    grid->SetRedraw(true);
}
