// Prepares, beside the user-interface thread, what the first windows need and that needs
// nothing from the display: the system's font configuration (many small XML files, the
// largest single piece of a first window's start-up) and the standard pictures, while the
// program connects to the display; then the toolkit's list of the installed fonts, while the
// first windows are built. Each would otherwise be done on the user-interface thread when
// the first text is measured or the first picture made. Where the font library is not the
// system's fontconfig, its configuration is left to the toolkit.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace ui {

class StartupWarmUp {
public:
    StartupWarmUp();   // starts: before the application object
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // The application object exists: the toolkit's font list may be filled now.
    void applicationReady();
    // Waits for the worker.
    void finish();

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    bool applicationReady_ = false;
    std::thread worker_;
};

} // namespace ui
