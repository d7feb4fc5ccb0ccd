// The screen-resolution changer: one operation that sets the screen to a width and a height in
// pixels. The real changer asks the X server through xrandr; where xrandr or an X session is
// missing, or the screen does not offer the size, the resolution stays as it is and the
// changer says why. Tests install a recording double (setChangeRes), so no test runs xrandr.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

namespace sys {

class ChangeRes {
public:
    virtual ~ChangeRes() = default;
    // True when the screen now has width x height pixels; otherwise the resolution is
    // unchanged and `problem` (when given) says why, in words for the user.
    virtual bool ChangeResolution(int width, int height, QString* problem = nullptr) = 0;
};

ChangeRes& changeRes();
// Installs a replacement (tests); nullptr restores the real one.
void setChangeRes(std::unique_ptr<ChangeRes> replacement);

// The arguments that make xrandr set `width` x `height` on the screen's output, read from the
// text of `xrandr --query`: the primary output, else the first connected one. Empty, with
// `problem` set, when no such output offers exactly that mode.
QStringList xrandrModeArguments(const QString& queryOutput, int width, int height, QString* problem);

// A recording double for tests: remembers every request and answers each with `problem`
// (empty: the change succeeds).
class RecordingChangeRes : public ChangeRes {
public:
    bool ChangeResolution(int width, int height, QString* problem = nullptr) override;

    QList<QSize> requests;
    QString problem;
};

} // namespace sys
