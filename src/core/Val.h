#pragma once
#include <QString>

// The value of the decimal number a text begins with (after blanks), 0 when
// it begins with none: "1a" is 1, "abc" is 0.
double Val(const QString& text);
