// The dealer list of the Form 10 tool and the moves of a dealer's rows when it is corrected.
#include "form10/registers/DealerList.h"

#include "form10/registers/Module2.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"
#include "platform/vb/Vb.h"

#include <QRegularExpression>

using ado::sqlQuoted;

namespace f10 {

const KeyedTable kDealerKeyedTables[16] = {
    {"tblPurchase1", true},
    {"tblPurchaseInterState1", true},
    {"tblSales", true},
    {"tblCommon", true},
    {"tblMPage1", false},
    {"tblMPage2", false},
    {"tblMPage3", false},
    {"tblMPage4", false},
    {"tblMPage5", false},
    {"tblRptPurchase1", true},
    {"tblRptPurchaseInterState", true},
    {"tblRptSales1", true},
    {"tblRptPurchaseC", true},
    {"tblRptPurchaseInterStateC", true},
    {"tblRptSales", true},
    {"tblRptCommon", true},
};

namespace {

// The same table as data/schema/nwForm10DB.sql gives new files; files made before it get it
// here, and nothing else of theirs changes.
const QString kCreateDealerTable = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS tblDealer ("
    " cCode TEXT COLLATE NOCASE NOT NULL UNIQUE,"
    " cName TEXT COLLATE NOCASE NOT NULL,"
    " cTIN TEXT COLLATE NOCASE,"
    " cCSTNo TEXT COLLATE NOCASE,"
    " LastChosen INTEGER NOT NULL DEFAULT 0)");

void run(const QString& statement)
{
    auto& m = Module2();
    procOpenForm10DB();
    m.SqlText = statement;
    m.Form10Connection->Execute(m.SqlText);
}

// Opens ReadRecordset on a statement over a fresh connection.
ado::Recordset& read(const QString& statement)
{
    auto& m = Module2();
    procOpenForm10DB();
    m.SqlText = statement;
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenForwardOnly, ado::adLockReadOnly);
    return *m.ReadRecordset;
}

QString text(ado::Recordset& rs, const char* column)
{
    const ado::Variant v = rs.Fields(QLatin1String(column)).Value();
    return v.isNull() ? QString() : v.toString();
}

QString quotedOrNull(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("Null") : QLatin1Char('\'') + sqlQuoted(value) + QLatin1Char('\'');
}

} // namespace

DealerChoices readDealers()
{
    run(kCreateDealerTable);
    DealerChoices choices;
    ado::Recordset& rs = read(QStringLiteral("SELECT cCode, cName, cTIN, cCSTNo, LastChosen FROM tblDealer ORDER BY cName, cCode"));
    for (; !rs.Eof(); rs.MoveNext()) {
        choices.dealers.push_back({text(rs, "cCode"), text(rs, "cName"), text(rs, "cTIN"), text(rs, "cCSTNo")});
        if (rs.Fields(QStringLiteral("LastChosen")).Value().toLongLong() != 0)
            choices.lastCode = choices.dealers.back().code;
    }
    rs.Close();
    choices.unkeyedRows = codeHasRows(QString());
    return choices;
}

Dealer trimmed(const Dealer& d)
{
    return {vb::Trim(d.code), vb::Trim(d.name), vb::Trim(d.tin), vb::Trim(d.cstNo)};
}

QString dealerProblem(const Dealer& typed)
{
    const Dealer d = trimmed(typed);
    if (d.code.isEmpty())
        return QStringLiteral("Please enter the dealer's code.");
    if (d.name.isEmpty())
        return QStringLiteral("Please enter the dealer's name.");
    // The Commercial Taxes Department of Kerala gives a VAT dealer an 11-digit TIN whose
    // first two digits are the state's code, 32. The CST registration number has been
    // written in more than one way over the years, so it is taken as typed.
    static const QRegularExpression keralaTin(QStringLiteral("^32[0-9]{9}$"));
    if (!d.tin.isEmpty() && !keralaTin.match(d.tin).hasMatch())
        return QStringLiteral("The TIN \"%1\" is not a Kerala TIN: 11 digits beginning with 32 "
                              "(for example 32010203040). Leave it empty if it is not known.")
            .arg(d.tin);
    return QString();
}

std::optional<QString> codeOwner(const QString& code, const QString& except)
{
    ado::Recordset& rs = read(QStringLiteral("SELECT cName FROM tblDealer WHERE cCode='") + sqlQuoted(code)
                              + QStringLiteral("' AND NOT cCode='") + sqlQuoted(except) + QStringLiteral("'"));
    std::optional<QString> owner;
    if (!rs.Eof())
        owner = text(rs, "cName");
    rs.Close();
    return owner;
}

bool codeHasRows(const QString& code)
{
    for (const KeyedTable& t : kDealerKeyedTables) {
        ado::Recordset& rs = read(QStringLiteral("SELECT COUNT(*) AS n FROM ") + QLatin1String(t.name)
                                  + QStringLiteral(" WHERE cCode='") + sqlQuoted(code) + QStringLiteral("'"));
        const bool found = rs.Fields(QStringLiteral("n")).Value().toLongLong() > 0;
        rs.Close();
        if (found)
            return true;
    }
    return false;
}

void addDealer(const Dealer& typed)
{
    const Dealer d = trimmed(typed);
    run(QStringLiteral("INSERT INTO tblDealer (cCode, cName, cTIN, cCSTNo, LastChosen) VALUES ('") + sqlQuoted(d.code)
        + QStringLiteral("', '") + sqlQuoted(d.name) + QStringLiteral("', ") + quotedOrNull(d.tin) + QStringLiteral(", ")
        + quotedOrNull(d.cstNo) + QStringLiteral(", 0)"));
}

SaveFailure correctDealer(const QString& oldCode, bool unkeyed, const Dealer& typed)
{
    const Dealer d = trimmed(typed);
    const QString where = QStringLiteral(" WHERE cCode='") + sqlQuoted(oldCode) + QStringLiteral("'");
    return runAsOneUnit([&](SaveUnit& unit) {
        unit.step(QStringLiteral("tblDealer"));
        if (unkeyed) {
            addDealer(d);
        } else {
            run(QStringLiteral("UPDATE tblDealer SET cCode='") + sqlQuoted(d.code) + QStringLiteral("', cName='")
                + sqlQuoted(d.name) + QStringLiteral("', cTIN=") + quotedOrNull(d.tin) + QStringLiteral(", cCSTNo=")
                + quotedOrNull(d.cstNo) + where);
        }
        for (const KeyedTable& t : kDealerKeyedTables) {
            unit.step(QLatin1String(t.name));
            QString set = QStringLiteral(" SET cCode='") + sqlQuoted(d.code) + QLatin1Char('\'');
            if (t.hasAddress)
                set += QStringLiteral(", cAddress='") + sqlQuoted(d.name) + QLatin1Char('\'');
            run(QStringLiteral("UPDATE ") + QLatin1String(t.name) + set + where);
        }
    });
}

void rememberChoice(const QString& code)
{
    const SaveFailure failure = runAsOneUnit([&](SaveUnit&) {
        run(QStringLiteral("UPDATE tblDealer SET LastChosen=0 WHERE LastChosen<>0"));
        run(QStringLiteral("UPDATE tblDealer SET LastChosen=1 WHERE cCode='") + sqlQuoted(code) + QStringLiteral("'"));
    });
    if (failure.any())
        throw ado::Error(failure.number, failure.description, QStringLiteral("Lumora"));
}

} // namespace f10
