// The month summary row of tblCommon: per-rate purchase and sales sums read back from the
// register screen's total labels, the purchase grand total, entry date, place, and the five
// purchase row totals.
#include "form10/registers/AmountText.h"
#include "form10/registers/Module2.h"
#include "form10/registers/RateLabels.h"
#include "form10/registers/RegisterStorage.h"
#include "form10/registers/frmNormal.h"
#include "platform/db/StatementText.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <QStringList>

#include <span>

namespace {

// A total label's figure as money text ("#0.00"); empty counts as 0.
QString moneyText(const QString& caption)
{
    return vb::Format00(f10::amountValue(caption));
}

// amount + tax + cess of one rate, carrying the two decimals the formatting gives, written
// as a bare number in its shortest form (1125.5, 0, 12.25).
QString rowTotal(const frmNormal& form, const f10::RateLabels& r)
{
    const double sum = f10::amountValue((form.*r.amount)->text()) + f10::amountValue((form.*r.tax)->text())
                       + f10::amountValue((form.*r.cess)->text());
    return vb::numberText(f10::amountValue(vb::Format00(sum)));
}

} // namespace

void frmNormal::procWriteCommon()
{
    QStringList rowTotals;   // RT0 .. RT20
    for (const f10::RateLabels& r : f10::kPurchaseRateLabels)
        rowTotals << rowTotal(*this, r);

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
    // PTA.., PTT.., PTC.., then STA.., STT.., STC..: each group in the tables' rate order.
    using Rates = std::span<const f10::RateLabels>;
    for (const Rates rates : {Rates(f10::kPurchaseRateLabels), Rates(f10::kSalesRateLabels)})
        for (const auto which : {&f10::RateLabels::amount, &f10::RateLabels::tax, &f10::RateLabels::cess})
            for (const f10::RateLabels& r : rates)
                add(moneyText((this->*(r.*which))->text()));
    add(moneyText(txtTotal->Text()));
    add(vb::Trim(txtDate->Text()));
    add(vb::Trim(txtPlace->Text()));
    sql += rowTotals.join(QLatin1Char(',')) + QLatin1Char(')');
    m.SqlText = sql;
    m.Form10Connection->Execute(m.SqlText);
}
