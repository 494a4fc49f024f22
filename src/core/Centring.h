#pragma once
// Windows centred, their frames included, in the free area of the main
// window's screen; a window larger than that area keeps its frame's top left
// corner on the screen.

#include <QMargins>
#include <QString>

class QWidget;

class Centring {
  public:
    void Centre(QWidget* w);
    // From the window's paint events: once the window manager has framed it,
    // a centring made with an assumed frame is made again with the real one.
    void Check(QWidget* w);

    // The widest client area whose frame still fits on that screen.
    static int MaxClientWidth(const QWidget* w);
    // The tallest.
    static int MaxClientHeight(const QWidget* w);

  private:
    QMargins framedWith_; // the frame the last centring assumed, until checked
};

// Message boxes of the program's title, centred as its windows are (Qt's own
// placement guesses a frame of its own), shown until they are answered.
void CentredWarning(const QString& text);
void CentredInformation(const QString& text);
