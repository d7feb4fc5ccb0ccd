// What the window tests share: their own program folder, a recording desktop, a recorded
// program end, answered message boxes, and fresh shared state before and after each test.
#pragma once

#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "lawdb/LawDb.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/forms/Form.h"
#include "platform/ui/forms/MsgBox.h"
#include "shell/ShellState.h"

#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>
#include <optional>

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        lawdb::resetState();
        shell::resetState();
        resetModule2();
        auto d = std::make_unique<sys::RecordingDesktop>();
        desktop = d.get();
        sys::setDesktop(std::move(d));
        shell::setEndProgramHook([this](int status) { ended = status; });
        ui::setMsgBoxResponder([this](const ui::MessageRecord& m) { return answerFor(m); });
        ui::clearShownMessages();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::setMsgBoxResponder(nullptr);
        shell::setEndProgramHook(nullptr);
        sys::setDesktop(nullptr);
        lawdb::resetState();
        shell::resetState();
        resetModule2();
    }
    int answerFor(const ui::MessageRecord& m) { return m.buttonSet() == ui::vbYesNo ? nextYesNo : ui::vbOK; }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }
    // A statement on the Form 10 database of the test's folder (one without rows just runs).
    ado::RecordsetPtr form10(const QString& sql)
    {
        auto cn = ado::newConnection();
        cn->Open(form10ConnectString());
        auto rs = ado::newRecordset();
        rs->Open(sql, cn, ado::adOpenStatic, ado::adLockOptimistic);
        return rs;
    }

    TestProgramFolder folder;
    sys::RecordingDesktop* desktop = nullptr;
    std::optional<int> ended;
    int nextYesNo = ui::vbYes;
};
