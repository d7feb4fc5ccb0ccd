// Control-file registration: the result codes short of a run entry (the start-up tests run the
// entries through the program's wrapper), with small libraries built for the purpose.
#include "platform/sys/ControlFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace sys;

namespace {

// Keeps a library loaded for the test, so that its counters survive the service's unload.
class Held {
public:
    explicit Held(const char* path) : h_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~Held() { if (h_) dlclose(h_); }
    int calls(const char* counter) const
    {
        auto f = reinterpret_cast<int (*)()>(dlsym(h_, counter));
        return f ? f() : -1;
    }
    bool ok() const { return h_ != nullptr; }

private:
    void* h_;
};

} // namespace

TEST(ControlFile, NothingToDoAFileThatCannotBeLoadedOrHasNoEntry)
{
    EXPECT_EQ(fnRegisterServer("", kRegister), kRegNothingDone);
    EXPECT_EQ(fnRegisterServer("/nonexistent/MSDATGRD.ocx", kRegister), kRegLoadFailed);
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.ocx"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a library at all");
    junk.close();
    EXPECT_EQ(fnRegisterServer(junk.fileName(), kRegister), kRegLoadFailed);
    EXPECT_EQ(fnRegisterServer(LUMORA_TEST_PLAIN_OCX, kRegister), kRegNoEntry);
    EXPECT_EQ(fnRegisterServer(LUMORA_TEST_PLAIN_OCX, kUnregister), kRegNoEntry);
    // A mode other than 1 or 2 looks nothing up, even where the entries exist.
    Held held(LUMORA_TEST_OCX);
    ASSERT_TRUE(held.ok());
    EXPECT_EQ(fnRegisterServer(LUMORA_TEST_OCX, 3), kRegNoEntry);
    EXPECT_EQ(fnRegisterServer(LUMORA_TEST_OCX, 0), kRegNoEntry);
    EXPECT_EQ(held.calls("lumora_test_register_calls"), 0);
}

TEST(ControlFile, SlowEntryTimesOutAndTheCallerGoesOn)
{
    setRegisterTimeoutMs(200);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(fnRegisterServer(LUMORA_TEST_SLOW_OCX, kRegister), kRegTimedOut);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_GE(t.elapsed(), 190);
    setRegisterTimeoutMs(0);
    EXPECT_EQ(registerTimeoutMs(), 10000);
}
