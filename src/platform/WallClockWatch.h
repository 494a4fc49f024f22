#pragma once
// Timers run on a clock that stands still during a suspend and takes no
// notice of a new time of day. This tells when the wall clock may have
// jumped under them: a resume, or the system's time being set.

#include <QObject>

#include <memory>

class WallClockWatch : public QObject {
    Q_OBJECT
  public:
    explicit WallClockWatch(QObject* parent = nullptr);
    ~WallClockWatch() override;

  signals:
    void MayHaveMoved();

  private:
    struct Sources; // what the system offers to listen to
    std::unique_ptr<Sources> sources_;
};
