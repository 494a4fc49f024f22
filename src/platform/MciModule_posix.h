#pragma once
// Qt Multimedia and the sound libraries behind it cost every start several
// milliseconds and megabytes, though most runs play nothing for a long time.
// The player therefore lives in a module of its own (velsokura-sound), loaded
// at the first play; the commands sent before that wait and then go in order.
#include <QString>

namespace MciModule {

// False when a play finds that no sound can play (no module, no audio output).
// A sound the player cannot read is reported to Mci::ReportUnplayable.
bool Send(const QString& command);

} // namespace MciModule
