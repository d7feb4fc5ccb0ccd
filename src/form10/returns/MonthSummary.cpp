// The month summary row of tblCommon: per-rate purchase and sales sums read back from the
// register screen's total labels, the purchase grand total, entry date, place, and the five
// purchase row totals.
#include "form10/registers/Module2.h"
#include "form10/registers/RegisterStorage.h"
#include "form10/registers/frmNormal.h"
#include "platform/db/StatementText.h"
#include "platform/ui/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>

namespace {

// The number at the start of a caption, as money text ("#0.00"); empty counts as 0.
QString moneyText(const QString& caption)
{
    return vb::Format00(vb::Val(caption));
}

// amount + tax + cess of one rate, carrying the two decimals the formatting gives, written
// as a bare number in its shortest form (1125.5, 0, 12.25).
QString rowTotal(const QLabel* amount, const QLabel* tax, const QLabel* cess)
{
    const double sum = vb::Val(vb::Trim(amount->text())) + vb::Val(vb::Trim(tax->text()))
                       + vb::Val(vb::Trim(cess->text()));
    return vb::numberText(vb::Val(vb::Format00(sum)));
}

} // namespace

void frmNormal::procWriteCommon()
{
    const QString rt0 = rowTotal(Label12, Label16, Label58);
    const QString rt1 = rowTotal(Label13, Label17, Label57);
    const QString rt4 = rowTotal(Label14, Label18, Label56);
    const QString rt12 = rowTotal(Label15, Label19, Label62);
    const QString rt20 = rowTotal(Label10, Label34, Label61);

    auto& m = Module2();
    procOpenForm10DB();
    procRecExists(QStringLiteral("tblCommon"));
    const QString month = f10::monthKey(*this);
    if (RecordExists) {
        m.SqlText = f10::keyedStatement(*this, QStringLiteral("DELETE * FROM  tblCommon"));
        m.Form10Connection->Execute(m.SqlText);
    }

    QString sql = QStringLiteral(" INSERT INTO tblCommon ( ")
                  + QStringLiteral(" cCode , cMonth , cAddress , PTA0,PTA1,PTA4,PTA12,PTA20,PTT0,PTT1,PTT4,PTT12,PTT20,PTC0,PTC1,PTC4,PTC12,PTC20 ")
                  + QStringLiteral(",STA0,STA1,STA4,STA12,STACST,STA20,STT0,STT1,STT4,STT12,STTCST,STT20,STC0,STC1,STC4,STC12,STCCST,STC20,netTotal,eDate,Place")
                  + QStringLiteral(",RT0,RT1,RT4,RT12,RT20")
                  + QStringLiteral(")     VALUES   (");
    auto add = [&sql](const QString& value) { sql += QLatin1Char('\'') + ado::sqlQuoted(value) + QStringLiteral("',"); };
    add(m.DealerCode);
    add(month);
    add(m.DealerName);
    for (const QLabel* label : {Label12, Label13, Label14, Label15, Label10,     // PTA
                                Label16, Label17, Label18, Label19, Label34,     // PTT
                                Label58, Label57, Label56, Label62, Label61,     // PTC
                                Label23, Label22, Label21, Label20, Label35, Label45,   // STA
                                Label27, Label26, Label25, Label24, Label36, Label44,   // STT
                                Label50, Label49, Label48, Label54, Label53, Label52})  // STC
        add(moneyText(label->text()));
    add(moneyText(txtTotal->Text()));
    add(vb::Trim(txtDate->Text()));
    add(vb::Trim(txtPlace->Text()));
    sql += rt0 + QLatin1Char(',') + rt1 + QLatin1Char(',') + rt4 + QLatin1Char(',') + rt12 + QLatin1Char(',') + rt20
           + QLatin1Char(')');
    m.SqlText = sql;
    m.Form10Connection->Execute(m.SqlText);
}
