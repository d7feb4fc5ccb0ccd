// Control-file registration: load a shared library, find its self-registration (or
// unregistration) entry and run it on a worker thread, waiting a bounded time.
#pragma once

#include <QString>

namespace sys {

enum RegisterMode { kRegister = 1, kUnregister = 2 };

// Result codes of fnRegisterServer.
enum RegisterResult {
    kRegNothingDone = 0,   // empty path, or the worker could not start
    kRegLoadFailed = 1,
    kRegNoEntry = 2,       // also for a mode other than 1 or 2
    kRegTimedOut = 3,
    kRegRegistered = 4,
    kRegUnregistered = 5
};

// Mode 1 runs "DllRegisterServer", mode 2 "DllUnregisterServer". Never raises.
int fnRegisterServer(const QString& path, int mode);

// The longest wait for the entry (10000 ms); tests shorten it. 0 or less restores the default.
void setRegisterTimeoutMs(int ms);
int registerTimeoutMs();

} // namespace sys
