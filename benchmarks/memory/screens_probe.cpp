// Memory figure of the windows: the program started as its main() starts it, on a program folder
// of the sample data, then every search screen of the library and the Form 10 screens opened as
// the user opens them (each shown and painted), then all of them closed again. Prints the
// resident set at idle, with every screen open, and after they are all closed.
// Run on a display with a window manager: benchmarks/memory-after-screens does.
#include "databuild/DataBuilder.h"
#include "form10/registers/frmSelect.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/forms/Form.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/forms/StartupWarmUp.h"
#include "platform/ui/controls/TreeView.h"
#include "shell/frmLaunch.h"
#include "shell/main.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <map>

namespace {

// The resident set in MB, and the share of it that is the window buffers shared with the X
// server, from /proc/self/status.
struct Rss {
    double total = 0, shared = 0;
};

Rss residentSet()
{
    QFile f(QStringLiteral("/proc/self/status"));
    Rss r;
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2 && parts[0] == "VmRSS:")
            r.total = parts[1].toDouble() / 1024;
        else if (parts.size() >= 2 && parts[0] == "RssShmem:")
            r.shared = parts[1].toDouble() / 1024;
    }
    return r;
}

void report(const char* when, const Rss& r)
{
    int windows = 0;
    for (const QWidget* w : QApplication::topLevelWidgets())
        windows += w->isVisible();
    std::printf("%-34s %2d windows on view  %6.1f MB  (shared with the X server: %.1f MB)\n", when, windows, r.total,
                r.shared);
    std::fflush(stdout);
}

// Lets the windows be shown, laid out and painted, and the window manager answer.
void settle(int ms = 300) { QTest::qWait(ms); }

void openScreen(frmkerala& library, const library::ScreenSpec& spec)
{
    const QString opener = QString::fromLatin1(spec.opener), key = QString::fromLatin1(spec.key);
    if (opener == QLatin1String("Toolbar2")) {
        library.Toolbar2_ButtonClick(key);
        return;
    }
    static const std::map<QString, void (frmkerala::*)()> openers = {
        {"Tvw", &frmkerala::Tvw_DblClick},   {"tvw2", &frmkerala::tvw2_DblClick}, {"tvwc", &frmkerala::tvwc_DblClick},
        {"tvwn", &frmkerala::tvwn_DblClick}, {"tvw3", &frmkerala::tvw3_DblClick}, {"tvwr", &frmkerala::tvwr_DblClick},
        {"tvwali", &frmkerala::tvwali_Click}};
    auto* tree = library.findChild<ui::TreeView*>(opener);
    // Two allied screens have no node in the built tree; they open as a node of theirs would.
    if (!tree->Nodes().find(key))
        tree->Nodes().Add(tree->Nodes(1)->Key(), ui::tvwChild, key, key, 1, 2);
    tree->setSelectedItem(tree->Nodes(key));
    (library.*openers.at(opener))();
}

int probe(int argc, char** argv)
{
    QTemporaryDir folder;
    QString error;
    if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), folder.path(), &error)) {
        std::fprintf(stderr, "program folder: %s\n", qPrintable(error));
        return 2;
    }
    sys::setProgramFolder(folder.path());

    ui::StartupWarmUp warmUp;
    QApplication app(argc, argv);
    warmUp.applicationReady();
    ui::form<frmLaunch>();
    warmUp.finish();
    ui::ScopedMsgBoxResponder answers;   // a message would otherwise wait for a person
    settle(1500);
    report("at idle, the main window on view", residentSet());

    main& mainWindow = ui::form<main>();
    mainWindow.Tvw->setSelectedItem(mainWindow.Tvw->Nodes(QStringLiteral("Ker")));
    mainWindow.Tvw_Click();
    settle();
    frmkerala& library = ui::form<frmkerala>();
    for (const library::ScreenSpec& spec : library::screenCatalog()) {
        openScreen(library, spec);
        settle();
    }

    mainWindow.Toolbar2_ButtonClick(QStringLiteral("f10"));
    settle();
    frmSelect& options = ui::form<frmSelect>();
    options.Option1_DblClick();   // the register screen
    settle(1000);
    options.Show();
    options.Option2_DblClick();
    settle();
    options.Option3_DblClick();
    settle();
    mainWindow.Toolbar2_ButtonClick(QStringLiteral("bkp"));
    settle(1000);
    report("every screen open", residentSet());

    // Closed as a user closes them, by their frames.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w != &mainWindow && w != &library) {
            w->close();
            settle(100);
        }
    }
    library.close();   // the main window comes back
    settle(2000);
    report("every screen closed again", residentSet());
    return 0;
}

} // namespace

int main(int argc, char** argv) { return probe(argc, argv); }
