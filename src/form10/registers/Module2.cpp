// Form 10 database services: the shared connection, recordsets and statement text, and the
// small text services of the register screen.
#include "form10/registers/Module2.h"

#include "platform/db/Error.h"
#include "platform/db/StatementText.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/vb/Vb.h"

Module2State& Module2()
{
    static Module2State state;
    return state;
}

void resetModule2()
{
    Module2() = Module2State{};
}

QString form10ConnectString()
{
    return ado::accessConnectString(sys::programPath(QStringLiteral("nwForm10DB.mdb")));
}

ado::ConnectionPtr openForm10Connection()
{
    auto cn = ado::newConnection();
    cn->ConnectionString = form10ConnectString();
    cn->Open();
    return cn;
}

void procOpenForm10DB()
{
    auto& m = Module2();
    m.Form10Connection = openForm10Connection();
    m.ReadRecordset = ado::newRecordset();
    m.StagingRecordset = ado::newRecordset();
    m.WriteRecordset = ado::newRecordset();
}

void procDeleteAllRows(const QString& tableName)
{
    procOpenForm10DB();
    auto& m = Module2();
    m.SqlText = QStringLiteral("DELETE * FROM  ") + tableName;
    m.Form10Connection->Execute(m.SqlText);
}

void procDeleteDealerRows(const QString& tableName)
{
    procOpenForm10DB();
    auto& m = Module2();
    m.SqlText = QStringLiteral("DELETE * FROM  ") + tableName + QStringLiteral("  WHERE cCode='")
                + ado::sqlQuoted(m.DealerCode) + QStringLiteral("'");
    m.Form10Connection->Execute(m.SqlText);
}

namespace {

// Two characters that are both decimal digits, as a number; -1 otherwise.
int twoDigits(const QString& text, int from)
{
    if (text.size() < from + 2)
        return -1;
    const QChar a = text.at(from), b = text.at(from + 1);
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
}

} // namespace

QDate fnDateFromDMY(const QString& text)
{
    const QString t = vb::Trim(text);
    const int day = twoDigits(t, 0);
    const int month = twoDigits(t, 3);
    const int year = twoDigits(t, 6);
    QDate date;
    // Exactly eight characters: "05-12-2009" would otherwise be read as 5 December 2020.
    if (t.size() == 8 && day >= 0 && month >= 0 && year >= 0)
        date = vb::MakeDate(vb::FullYear(year), month, day);
    if (!date.isValid())
        throw ado::Error(ado::err::TypeMismatch, QStringLiteral("Type mismatch"),
                         QStringLiteral("fnDateFromDMY"));
    return date;
}

QString fnMonthStartDate(const QString& monthName, const QString& yearText)
{
    const QString upper = monthName.toUpper();
    for (int month = 1; month <= 12; ++month) {
        if (upper == vb::MonthName(month).toUpper())
            return QStringLiteral("01-%1-").arg(month, 2, 10, QLatin1Char('0')) + yearText;
    }
    return QString();
}

bool fnIsDashDate(const QString& text)
{
    const QString t = vb::Trim(text);
    return t.size() >= 6 && t.at(2) == u'-' && t.at(5) == u'-';
}

void procCloseForm10DBs()
{
    auto& m = Module2();
    const ado::ConnectionPtr released = m.Form10Connection;
    m.Form10Connection = ado::newConnection();
    // The released connection lets go of the file too, unless a step is still inside a
    // transaction on it; the backup's copies are consistent either way.
    if (released && released->State() == ado::adStateOpen && !released->inTransaction())
        vb::skip([&] { released->Close(); });
}

bool runReported(const QString& tag, const std::function<void()>& action)
{
    QString message;
    try {
        action();
        return true;
    } catch (const ado::Error& e) {
        message = ado::detailedText(tag + QStringLiteral(" :"), e);
    } catch (const std::exception& e) {
        message = tag + QStringLiteral(" :") + QString::fromLocal8Bit(e.what());
    }
    ui::setMousePointer(ui::vbDefault);
    ui::MsgBox(message, ui::vbCritical);
    return false;
}
