#pragma once
#include <QIcon>

// A golden bell, drawn for each size so that it stays crisp.
QIcon AppIcon();
