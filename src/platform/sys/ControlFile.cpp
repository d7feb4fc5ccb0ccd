// The entry runs on a thread of its own so that a control file that hangs cannot hold the
// program for longer than the wait; after a time-out the library stays loaded, because the
// abandoned worker may still be running inside it.
#include "ControlFile.h"
#include "ProgramFolder.h"

#include <QFile>

#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <future>
#include <system_error>
#include <thread>

namespace sys {

namespace {
constexpr int kDefaultTimeoutMs = 10000;
std::atomic<int> timeoutMs{kDefaultTimeoutMs};
using EntryPoint = long (*)();
}

void setRegisterTimeoutMs(int ms) { timeoutMs = ms > 0 ? ms : kDefaultTimeoutMs; }
int registerTimeoutMs() { return timeoutMs; }

int fnRegisterServer(const QString& path, int mode)
{
    if (path.isEmpty())
        return kRegNothingDone;

    void* library = dlopen(QFile::encodeName(localPath(path)).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return kRegLoadFailed;

    const char* name = mode == kRegister ? "DllRegisterServer" : mode == kUnregister ? "DllUnregisterServer" : nullptr;
    auto entry = name ? reinterpret_cast<EntryPoint>(dlsym(library, name)) : nullptr;
    if (!entry) {
        dlclose(library);
        return kRegNoEntry;
    }

    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread worker;
    try {
        worker = std::thread([entry, done] {
            entry();   // its own result is not examined
            done->set_value();
        });
    } catch (const std::system_error&) {
        dlclose(library);
        return kRegNothingDone;
    }

    if (finished.wait_for(std::chrono::milliseconds(timeoutMs.load())) != std::future_status::ready) {
        worker.detach();
        return kRegTimedOut;
    }
    worker.join();
    dlclose(library);
    return mode == kRegister ? kRegRegistered : kRegUnregistered;
}

} // namespace sys
