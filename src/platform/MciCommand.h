#pragma once
// One multimedia string command taken apart: open "PATH" alias NAME,
// play NAME from 0, stop NAME, close NAME; anything else is Other.
#include <QString>

struct MciCommand {
    enum Kind { Open, Play, Stop, Close, Other };
    Kind kind = Other;
    QString alias; // lower case, as aliases compare
    QString path;  // the file of an Open

    static MciCommand Parse(const QString& command);
};
