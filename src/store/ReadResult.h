#pragma once
// What reading a data file came to; start-up tells the user.

#include <QString>
#include <QStringList>

struct ReadResult {
    enum Finding {
        Read,            // nothing to tell
        Missing,         // no such file: the program ends
        Unusable,        // cannot be opened, or holds what it cannot: the program ends
        Cancelled,       // the user cancelled: the program ends
        LastExitUnsaved, // read; the last exit may not have saved it
        RepeatedKey,     // read; key stands twice
        NotASound,       // read; the sound file named is no sound file, and is dropped
        StrayNuls,       // read without the NUL bytes it held, which is told
    };
    ReadResult(Finding f = Read, const QString& k = {}) : finding(f), key(k) {}
    Finding finding;
    QString key;
    // Lines that could be no schedule, each "N行目：text", kept aside in badFile.
    QStringList badLines;
    QString badFile;
};
