// Opening a file in the desktop's application: the real desktop runs xdg-open from the PATH,
// here a stand-in that ends as xdg-open does when it opens the file or finds nothing to open it.
#include "WaitFor.h"
#include "platform/sys/Desktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

class DesktopOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        sys::setDesktop(nullptr);   // the real one
        path_ = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + ":" + path_);   // the stand-in first
    }
    void TearDown() override { qputenv("PATH", path_); }

    // xdg-open doing `script`.
    void opener(const QByteArray& script)
    {
        QFile f(bin.filePath("xdg-open"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + script + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QTemporaryDir bin;

private:
    QByteArray path_;
};

} // namespace

TEST_F(DesktopOpen, AFailureAfterTheOpenerStartedComesBackLaterAndTheProgramNeverWaits)
{
    const QString file = bin.filePath("act.rtf");
    // what the opener does, what the program is told (nothing: it opened)
    const std::pair<const char*, const char*> cases[] = {
        {"exit 0", nullptr},
        {"exit 3", "no program on this computer opens this kind of document"},   // no method available
        {"exit 4", "no program on this computer opens this kind of document"},   // the action failed
        {"exit 2", "the file could not be found"},
        {"exit 1", "the desktop's opener failed with status 1"},
        {"kill -9 $$", "the desktop's opener stopped"},
        {"sleep 1; exit 3", "no program on this computer opens this kind of document"},
    };
    for (const auto& [script, told] : cases) {
        SCOPED_TRACE(script);
        opener(script);
        std::optional<QString> why;
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(sys::desktop().openFile(file, [&](const QString& w) { why = w; }));
        EXPECT_LT(clock.elapsed(), 800);   // started, not waited for
        EXPECT_FALSE(why.has_value());
        if (told) {
            EXPECT_EVENTUALLY(why.has_value());
            EXPECT_EQ(why.value_or(QString()), QString::fromUtf8(told));
        } else {
            QTest::qWait(300);
            EXPECT_FALSE(why.has_value());
        }
    }
    QFile::remove(bin.filePath("xdg-open"));
    qputenv("PATH", bin.path().toLocal8Bit());
    EXPECT_FALSE(sys::desktop().openFile(file));   // no opener at all: refused at once
}
