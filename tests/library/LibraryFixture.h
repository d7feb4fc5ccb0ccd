// What the library tests share: their own program folder with the law databases connected,
// answered message boxes, a recording desktop, and fresh shared state before and after.
#pragma once

#include "TestProgramFolder.h"
#include "WaitFor.h"

#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "library/keralaforms.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/Twips.h"
#include "shell/ShellState.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

// A widget's geometry in twips, to compare in one go.
inline QRect twipsRect(const QWidget* w)
{
    return {ui::leftTwips(w), ui::topTwips(w), ui::widthTwips(w), ui::heightTwips(w)};
}

class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        lawdb::resetState();
        shell::resetState();
        auto d = std::make_unique<sys::RecordingDesktop>();
        desktop = d.get();
        sys::setDesktop(std::move(d));
        lawdb::procConnectLawDBs();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sys::setDesktop(nullptr);
        lawdb::resetState();
        shell::resetState();
    }
    const std::vector<ui::MessageRecord>& messages() const { return answers.messages(); }
    keralaforms& document() { return ui::form<keralaforms>(); }
    bool documentShown() { return ui::formLoaded<keralaforms>() && document().isVisible(); }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder answers;
    sys::RecordingDesktop* desktop = nullptr;
};
