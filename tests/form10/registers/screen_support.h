// The register screen on a program folder of its own, shown offscreen, with every message
// box answered and recorded; helpers that key cells through the real editors.
#pragma once

#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace screentest {

// Runs statements on the Form 10 database of the test's program folder.
inline void execForm10(const QString& sql)
{
    ado::Connection cn;
    cn.Open(form10ConnectString());
    cn.Execute(sql);
    cn.Close();
}

// One stored bill of a register for the empty dealer code.
inline void storeBill(const QString& table, const QString& month, const QString& date, const QString& party,
                      const QString& rate, double amount, double tax, double cess)
{
    execForm10(QStringLiteral("INSERT INTO %1 (SlNo, BillDate, Party, TIN, BillNo, RateOfTax, Amount, Tax, Cess, "
                              "NetAmount, cMonth, cCode) VALUES ('1', '%2', '%3', 'T1', 'B1', '%4', %5, %6, %7, %8, "
                              "'%9', '')")
                   .arg(table, date, party, rate)
                   .arg(amount)
                   .arg(tax)
                   .arg(cess)
                   .arg(amount + tax + cess)
                   .arg(month));
}

inline QString currentMonth()
{
    return vb::FormatDate(QDate::currentDate(), QStringLiteral("mmmm"));
}

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        seed();
        form = &ui::form<frmNormal>();
        form->Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
    }
    // Rows to store before the screen loads.
    virtual void seed() {}

    // Puts the focus into a grid's editor as a click on the current cell would.
    void focusEditor(ui::TextBox* editor)
    {
        editor->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }
    void enter(QWidget* w) { key(w, Qt::Key_Return); }
    // Types a text over the editor's whole text and presses Enter.
    void keyCell(ui::TextBox* editor, const QString& text)
    {
        fnSelectAllText(*editor);
        type(editor, text);
        enter(editor);
    }
    // Picks the picker entry `index` with arrow keys and Enter.
    void pick(ui::ListBox* picker, int index)
    {
        for (int i = 0; i < index; ++i)
            key(picker, Qt::Key_Down);
        enter(picker);
    }
    // Keys a whole bill from column 1 of the current row; ends in column 1 of the next row.
    void keyBill(ui::TextBox* editor, ui::ListBox* picker, const QString& date, const QString& party,
                 int rateIndex, const QString& amount, const QString& tax, const QString& cess)
    {
        keyCell(editor, date);
        keyCell(editor, party);
        keyCell(editor, QStringLiteral("TIN-") + party);
        keyCell(editor, QStringLiteral("B-") + party);
        pick(picker, rateIndex);
        keyCell(editor, amount);
        keyCell(editor, tax);
        keyCell(editor, cess);
        enter(editor);   // column 9 -> column 1 of the next row
    }

    QString label(const char* name) const
    {
        auto* l = form->findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder responder{ui::vbOK};
    frmNormal* form = nullptr;
};

} // namespace screentest
