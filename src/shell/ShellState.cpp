#include "ShellState.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <memory>

namespace shell {

namespace {
std::unique_ptr<ShellState>& holder()
{
    static std::unique_ptr<ShellState> s = std::make_unique<ShellState>();
    return s;
}
EndProgramHook& hook()
{
    static EndProgramHook h;
    return h;
}
} // namespace

ShellState& state() { return *holder(); }
void resetState() { holder() = std::make_unique<ShellState>(); }

void setEndProgramHook(EndProgramHook h) { hook() = std::move(h); }

void endProgram(int status)
{
    if (hook()) {
        hook()(status);
        return;
    }
    // The start-up may end the program before the event loop runs: the queued call ends
    // the loop as soon as it starts; a running loop ends after the current event.
    QCoreApplication::exit(status);
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

} // namespace shell
