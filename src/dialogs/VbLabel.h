#pragma once
#include <QLabel>

// A label whose caption marks access keys with "&": a single "&" is hidden
// and "&&" shows one "&".
class VbLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

  private:
    QString caption_;
};
