#include "store/ScheduleFile.h"

#include "core/Val.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/TextFile.h"
#include "store/FlexGrid.h"
#include "store/ReadResult.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <climits>

using namespace mdlMain;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr qsizetype kLinesPerPump = 256;
// What a NUL byte of the file reads as (no schedule text holds one).
constexpr QChar kNul = QChar(0x01);

QString SchedulePath() {
    return AppFolder + ScheduleFile::FileName;
}

void ChopCrLf(QString& text) {
    if (text.endsWith(kCrLf)) text.chop(2);
}

// "yyyy/mm/dd/hh:nn" naming a real minute.
bool IsRealKey(const QString& key) {
    if (key.size() != 16) return false;
    int field[5] = {};
    int f = 0;
    for (qsizetype i = 0; i < 16; ++i) {
        const QChar c = key.at(i);
        const bool mark = i == 4 || i == 7 || i == 10 || i == 13;
        if (mark) {
            if (c != (i == 13 ? QLatin1Char(':') : QLatin1Char('/'))) return false;
            ++f;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            field[f] = field[f] * 10 + (c.unicode() - u'0');
        } else {
            return false;
        }
    }
    return QDate::isValid(field[0], field[1], field[2]) && field[3] < 24 && field[4] < 60;
}

// The first key read a second time. In a file in order, as the program writes
// it, a repeated key comes right after its twin; only a file out of order
// needs the set of every key read.
class RepeatedKey {
  public:
    QString found;

    // rowsRead: the grid's rows 1 to rowsRead hold the keys read before.
    void Read(const QString& key, const FlexGrid* grid, int rowsRead) {
        if (!found.isEmpty()) return;
        if (seen_.isEmpty()) {
            if (key >= last_) {
                if (key == last_) found = key;
                last_ = key;
                return;
            }
            for (int row = 1; row <= rowsRead; ++row)
                seen_.insert(grid->TextMatrix(row, 1));
        }
        if (seen_.contains(key)) found = key;
        seen_.insert(key);
    }

  private:
    QString last_;
    QSet<QString> seen_;
};

} // namespace

void ScheduleFile::SetGridHeader(FlexGrid* grid) {
    grid->SetTextMatrix(0, 1, HeaderKey);
    grid->SetColWidthTw(1, 1600);
    grid->SetTextMatrix(0, 2, HeaderText);
    grid->SetColWidthTw(2, 8500);
}

QString SortLines(const QString& text, int order) {
    QString t = text;
    t.replace(kCrLf, QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
    if (t.count(QLatin1Char('\n')) + 1 <= 1) return text;
    QStringList lines = t.split(QLatin1Char('\n'));
    if (order == 1)
        std::sort(lines.begin(), lines.end(), std::greater<QString>());
    else
        std::sort(lines.begin(), lines.end());
    QString out;
    out.reserve(t.size() + lines.size() + 1);
    for (const QString& line : lines) {
        out += line;
        out += kCrLf;
    }
    return out;
}

QString GridScheduleLines(FlexGrid* grid) {
    grid->SetRedraw(false);
    QString lines;
    for (int i = 1; i < grid->Rows(); ++i) {
        PumpEvents();
        const QString key = grid->TextMatrix(i, 1);
        // The empty grid's one row holds no schedule.
        if (key.isEmpty()) continue;
        if (!lines.isEmpty()) lines += kCrLf;
        lines += key + ScheduleFile::FieldSeparator + grid->TextMatrix(i, 2);
    }
    grid->SetRedraw(true);
    return lines;
}

void SaveGridSchedules(FlexGrid* grid) {
    ScheduleText = SortLines(GridScheduleLines(grid), 0);
    WriteScheduleFile();
}

void WriteScheduleFile() {
    PumpEvents();
    const QString doubled = kCrLf + kCrLf;
    if (ScheduleText.contains(doubled)) ScheduleText.replace(doubled, kCrLf);
    ChopCrLf(ScheduleText);
    if (!ScheduleText.isEmpty() && ScheduleText != ScheduleFile::FieldSeparator)
        ScheduleText = SortLines(ScheduleText, 0);
    else
        ScheduleText = QStringLiteral("1");
    if (TextFile::WriteAtomic(SchedulePath(), ScheduleText + kCrLf)) return;
    ShowNotice(QStringLiteral("データ書き込みに失敗しました。"));
    ScheduleWriteFailed = 1;
}

bool WriteScheduleFileAtExit() {
    QString copy = ScheduleText;
    ScheduleText.clear();
    AdShown = 1;
    QString output = QStringLiteral("1");
    if (!copy.isEmpty()) {
        const QString doubled = kCrLf + kCrLf;
        if (copy.contains(doubled)) copy.replace(doubled, kCrLf);
        ChopCrLf(copy);
        ScheduleText = SortLines(copy, 0);
        output = QStringLiteral("1") + kCrLf + ScheduleText;
    }
    PumpEvents();
    return TextFile::WriteAtomic(SchedulePath(), output + kCrLf);
}

void SortAndSaveGrid(FlexGrid* grid) {
    grid->SetRedraw(false);
    grid->SortByKey();
    if (grid->Rows() > 2) SaveGridSchedules(grid);
    grid->SetRedraw(true);
}

ReadResult ReadSchedules(FlexGrid* grid) {
    if (!QFileInfo::exists(SchedulePath())) return {ReadResult::Missing};
    // Lines are views of the text: a large file costs no string per line.
    QString content;
    // A NUL makes its own line unreadable, not the whole file.
    if (!TextFile::ReadText(SchedulePath(), content, TextFile::Nuls::Keep))
        return {ReadResult::Unusable};
    const QList<QStringView> lines = TextFile::SplitLines(content);

    const QString& separator = ScheduleFile::FieldSeparator;
    ScheduleCount = 0;
    RepeatedKey repeated;
    QStringList bad;     // as in the file
    QStringList badNamed; // with their numbers, for the user
    // The header and a row a line, without growing the grid step by step.
    grid->ReserveRows(static_cast<int>(std::min<qsizetype>(lines.size() + 1, INT_MAX)));
    grid->SetRedraw(false);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        // Often enough for Cancel and the window system, rarely enough to cost nothing.
        if (n % kLinesPerPump == 0) PumpEvents();
        QStringView line = lines[n];
        if (line == separator) {
            LastExitUnsaved = 1;
            line = u"1";
        }
        // A NUL byte, read as SOH, is written as "?" (CP932 holds no NUL)
        // and shown by name.
        const auto setAside = [&] {
            bad << line.toString().replace(kNul, QLatin1Char('?'));
            badNamed << QStringLiteral("%1行目：%2").arg(n + 1).arg(
                            line.toString().replace(kNul, QStringLiteral("<NUL>")));
        };
        if (!line.contains(separator)) {
            if (n == 0) AdShown = Val(line.toString()) != 0 ? 1 : 0;
            else if (!line.trimmed().isEmpty()) setAside();
        } else {
            if (n == 0) {
                AdShown = 1;
                LastExitUnsaved = 1;
            }
            const QString key = line.left(16).toString();
            // A text start beyond the line, a key that is no real minute (it
            // would break the clock) or a NUL (no text holds one) makes no
            // schedule: the line goes aside, never rings and is not lost.
            if ((line.size() >= 17 && line.size() <= 27) || !IsRealKey(key) ||
                line.contains(kNul)) {
                setAside();
                continue;
            }
            QStringView rest = line.sliced(std::min<qsizetype>(28, line.size()));
            while (!rest.isEmpty() && rest.front() == QLatin1Char(' '))
                rest = rest.sliced(1);
            QString text;
            text.reserve(rest.size() + 1);
            text.append(QLatin1Char(' ')).append(rest);
            repeated.Read(key, grid, ScheduleCount);
            if (ScheduleCount == 0) {
                grid->SetTextMatrix(1, 1, key);
                grid->SetTextMatrix(1, 2, text);
            } else {
                grid->AddRow(key, text);
            }
            ++ScheduleCount;
        }
        if (StatusCancelled == 1) return {ReadResult::Cancelled};
    }
    grid->SortByKey();
    grid->SetRedraw(true);

    ReadResult result;
    if (LastExitUnsaved == 1)
        result = {ReadResult::LastExitUnsaved};
    else if (!repeated.found.isEmpty())
        result = {ReadResult::RepeatedKey, repeated.found};
    if (bad.isEmpty()) return result;
    // Added to what earlier starts set aside; never written over.
    const QString badPath = AppFolder + ScheduleFile::BadLinesFileName;
    QString kept;
    if (QFileInfo::exists(badPath) && !TextFile::ReadText(badPath, kept, TextFile::Nuls::Drop))
        return {ReadResult::Unusable};
    if (!kept.isEmpty() && !kept.endsWith(kCrLf)) kept += kCrLf;
    // A start that ended before the schedules were written again finds the
    // same lines once more: what the file holds already is not added twice.
    const QStringList keptLines = kept.split(kCrLf);
    QStringList added;
    for (const QString& line : std::as_const(bad))
        if (!keptLines.contains(line)) added << line;
    if (!added.isEmpty() && !TextFile::WriteAtomic(badPath, kept + added.join(kCrLf) + kCrLf))
        return {ReadResult::Unusable};
    result.badLines = badNamed;
    result.badFile = ScheduleFile::BadLinesFileName;
    return result;
}
