// Start-up: the order of its steps, the missing or unreadable law database, and the
// registration wrapper.
#include "ShellFixture.h"
#include "platform/sys/ControlFile.h"
#include "shell/frmLaunch.h"
#include "shell/main.h"

#include <QFile>
#include <QRegularExpression>
#include <QShowEvent>
#include <dlfcn.h>

namespace {

// Records every window shown as "name, whether the start-up window was visible, registrations so far".
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<int()> registrations) : registrations_(std::move(registrations)) {}
    QStringList seen;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            seen << QStringLiteral("%1 %2 %3").arg(o->objectName())
                        .arg(int(ui::formLoaded<frmLaunch>() && ui::form<frmLaunch>().isVisible())).arg(registrations_());
        return false;
    }

private:
    std::function<int()> registrations_;
};

class StartupTest : public ShellFixture {};

} // namespace

TEST_F(StartupTest, HidesItselfShowsTheMainWindowThenRegisters)
{
    // A stand-in data-grid control file that counts its registrations.
    ASSERT_TRUE(QFile::copy(LUMORA_TEST_OCX, folder.file("MSDATGRD.ocx")));
    void* held = dlopen(QFile::encodeName(folder.file("MSDATGRD.ocx")).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(held);
    auto calls = reinterpret_cast<int (*)()>(dlsym(held, "lumora_test_register_calls"));
    ASSERT_TRUE(calls);

    ShowWatcher watcher(calls);
    qApp->installEventFilter(&watcher);
    frmLaunch& launch = ui::form<frmLaunch>();
    qApp->removeEventFilter(&watcher);

    // the start-up window never shows; the main window shows before the registration
    EXPECT_EQ(watcher.seen.filter(QRegularExpression("^(main|frmLaunch) ")), QStringList{"main 0 0"});
    EXPECT_TRUE(launch.isFormLoaded() && !launch.isVisible());
    ASSERT_TRUE(ui::formLoaded<main>());
    EXPECT_TRUE(ui::form<main>().isVisible());
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(lawdb::state().LawConnection3->State(), ado::adStateOpen);
    EXPECT_TRUE(lawdb::state().TableCatalog1->Contains("Kerala"));
    EXPECT_FALSE(ended.has_value());
    EXPECT_TRUE(messages().empty());
    dlclose(held);
}

TEST_F(StartupTest, MissingControlFileChangesNothing)
{
    ui::form<frmLaunch>();
    EXPECT_TRUE(ui::form<main>().isVisible());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ended.has_value());
}

TEST_F(StartupTest, MissingOrUnreadableLawDatabaseIsNamedAndTheProgramEndsWithAnError)
{
    for (bool missing : {false, true}) {   // the third file unreadable; then the second missing too
        const QString name = missing ? "1309214SD02.mdb" : "1509214SD03.mdb";
        if (missing) {
            ASSERT_TRUE(QFile::remove(folder.file(name)));
        } else {
            QFile junk(folder.file(name));
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
            junk.write(QByteArray(4096, 'x'));
        }
        ui::clearShownMessages();
        ended.reset();
        ui::form<frmLaunch>();
        ASSERT_EQ(messages().size(), 1u) << missing;
        EXPECT_TRUE(messages()[0].prompt.contains(name)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].icon(), ui::vbCritical);
        ASSERT_TRUE(ended.has_value());
        EXPECT_NE(*ended, 0);
        EXPECT_FALSE(ui::formLoaded<main>());
        ui::FormRegistry::unloadAll();
        lawdb::resetState();
    }
}

TEST_F(StartupTest, RegisterWrapperMapsModesAndTrimsThePath)
{
    void* held = dlopen(LUMORA_TEST_OCX, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(held);
    auto reg = reinterpret_cast<int (*)()>(dlsym(held, "lumora_test_register_calls"));
    auto unreg = reinterpret_cast<int (*)()>(dlsym(held, "lumora_test_unregister_calls"));
    const QString padded = QStringLiteral("  ") + LUMORA_TEST_OCX + QStringLiteral(" ");
    EXPECT_EQ(frmLaunch::fnRegisterOcx(padded, 0), sys::kRegRegistered);
    EXPECT_EQ(frmLaunch::fnRegisterOcx(padded, 1), sys::kRegUnregistered);
    EXPECT_EQ(frmLaunch::fnRegisterOcx(padded, 2), 0);
    EXPECT_EQ(frmLaunch::fnRegisterOcx(padded, -1), 0);
    EXPECT_EQ(reg(), 1);
    EXPECT_EQ(unreg(), 1);
    EXPECT_EQ(frmLaunch::fnRegisterOcx(folder.file("MSDATGRD.ocx"), 0), sys::kRegLoadFailed);
    dlclose(held);
}

TEST(ProgramEnd, EndingBeforeTheEventLoopRunsEndsItWithTheStatus)
{
    shell::setEndProgramHook(nullptr);
    shell::endProgram(3);   // as the start-up does when a law database is missing
    EXPECT_EQ(QApplication::exec(), 3);
}
