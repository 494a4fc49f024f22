#pragma once
#include <QLabel>
#include <QStringList>

// A message box's text: centred lines broken where Japanese breaks best
// (after "、", "。" or a space) rather than wherever the width runs out. Its
// text() stays the message as given.
class MessageText : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    // The lines shown at the current width.
    QStringList Lines() const;
    // Grows (or shrinks back towards `designHeight`) to hold every line;
    // returns the change in height.
    int FitHeight(int designHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
