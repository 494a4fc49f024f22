#include "app/MainLock.h"
#include "app/frmMain.h"
#include "platform/Cp932.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

bool IsZeroPadded(const QString& t) {
    return t.size() == 2 && t.at(0) == QLatin1Char('0') && t.at(1).isDigit() &&
           t.at(1).unicode() < 128;
}

// Keeps "00".."09" and the plain decimal texts 0..max; anything else empties
// the field, with no message.
void CleanNumber(QLineEdit* field, int max) {
    const QString t = field->text();
    if (IsZeroPadded(t)) return;
    for (int i = 0; i <= max; ++i)
        if (t == QString::number(i)) return;
    field->setText(QString());
}

// Days are compared as text: anything from "0" to "99" in code order.
void CleanDays(QLineEdit* field) {
    const QString t = field->text();
    if (IsZeroPadded(t)) return;
    if (t >= QLatin1String("0") && t <= QLatin1String("99")) return;
    field->setText(QString());
}

// A single-line box: a pasted text ends at its first line break, and a tab
// is a space.
QString OneLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return text.left(end < 0 ? text.size() : end).replace(QLatin1Char('\t'), QLatin1Char(' '));
}

} // namespace

void frmMain::UpdateAddButtons() {
    const bool any = !MainLocked() && (!Text1->text().isEmpty() || !Text2->text().isEmpty());
    Command1->setEnabled(any);
    Command8->setEnabled(any);
}

void frmMain::UpdateConvertButton() {
    Command5->setEnabled(!MainLocked() && (!Text4->text().isEmpty() || !Text5->text().isEmpty() ||
                                           !Text6->text().isEmpty()));
}

void frmMain::Text1_Change() {
    CleanNumber(Text1, 23);
    UpdateAddButtons();
}

void frmMain::Text2_Change() {
    CleanNumber(Text2, 59);
    UpdateAddButtons();
}

// The text becomes at once what the schedule file holds, so what the user
// sees is what is saved.
void frmMain::Text3_Change() {
    const QString kept = Cp932::Holdable(OneLine(Text3->text()));
    if (kept == Text3->text()) return;
    const int cursor = Text3->cursorPosition();
    Text3->setText(kept);
    Text3->setCursorPosition(std::min<int>(cursor, static_cast<int>(kept.size())));
}

void frmMain::Text4_Change() {
    CleanDays(Text4);
    UpdateConvertButton();
}

void frmMain::Text5_Change() {
    CleanNumber(Text5, 23);
    UpdateConvertButton();
}

void frmMain::Text6_Change() {
    CleanNumber(Text6, 59);
    UpdateConvertButton();
}
