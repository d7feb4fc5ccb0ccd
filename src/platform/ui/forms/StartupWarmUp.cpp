#include "platform/ui/forms/StartupWarmUp.h"

#include "platform/ui/forms/StandardPictures.h"

#include <QFontDatabase>
#include <QStringList>
#include <dlfcn.h>

namespace ui {
namespace {

// fontconfig's FcInit, from the library the toolkit's font database is linked with, which is
// already in the process (asking for it by name only looks it up); nullptr without it.
using InitFn = int (*)();
InitFn fontconfigInit()
{
    void* fontconfig = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!fontconfig)
        return nullptr;
    auto init = reinterpret_cast<InitFn>(dlsym(fontconfig, "FcInit"));
    dlclose(fontconfig);   // still loaded: the toolkit holds it
    return init;
}

} // namespace

StartupWarmUp::StartupWarmUp()
{
    worker_ = std::thread([this, init = fontconfigInit()] {
        if (init)
            init();
        prepareStandardPictures();
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return applicationReady_; });
        lock.unlock();
        QFontDatabase::families();   // the toolkit guards its font list with a lock of its own
    });
}

StartupWarmUp::~StartupWarmUp()
{
    applicationReady();
    finish();
}

void StartupWarmUp::applicationReady()
{
    {
        std::lock_guard lock(mutex_);
        applicationReady_ = true;
    }
    ready_.notify_one();
}

void StartupWarmUp::finish()
{
    if (worker_.joinable())
        worker_.join();
}

} // namespace ui
