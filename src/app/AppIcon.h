#pragma once
#include <QIcon>
#include <QImage>

// A golden bell, drawn for each size so that it stays crisp.
QIcon AppIcon();
QImage AppIconImage(int size);
