// The timer control: ticks every Interval milliseconds while Enabled; Interval 0 stops it.
#pragma once

#include <QObject>
#include <QTimer>

namespace ui {

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(const QString& objectName, QObject* parent = nullptr, int interval = 0, bool enabled = true);

    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isRunning() const { return timer_.isActive(); }

signals:
    void Tick();   // the program's Timer event

private:
    void apply();
    QTimer timer_;
    int interval_;
    bool enabled_;
};

} // namespace ui
