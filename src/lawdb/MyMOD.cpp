#include "MyMOD.h"

#include "LawDb.h"
#include "library/keralaforms.h"
#include "platform/db/Error.h"
#include "platform/db/StatementText.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/RemoteData.h"

#include <QWidget>

namespace lawdb {

namespace {

// A recordset set up as every lookup here opens it: static cursor, client side, optimistic.
ado::RecordsetPtr newStaticRecordset()
{
    auto rs = ado::newRecordset();
    rs->CursorType = ado::adOpenStatic;
    rs->CursorLocation = ado::adUseClient;
    rs->LockType = ado::adLockOptimistic;
    return rs;
}

ado::RecordsetPtr openStatic(const QString& sql, const ado::ConnectionPtr& connection)
{
    auto rs = newStaticRecordset();
    rs->ActiveConnection = connection;
    if (!connection)
        throw ado::Error(ado::err::NoConnection,
                         QStringLiteral("The connection cannot be used to perform this operation. "
                                        "It is either closed or invalid in this context."),
                         QStringLiteral("ADODB.Recordset"));
    rs->Open(sql, ado::ConnectionPtr(), ado::adOpenUnspecified, ado::adLockUnspecified, -1);
    return rs;
}

} // namespace

void showDetailedError(const QString& tag, long number, const QString& description, const QString& source)
{
    ui::MsgBox(ado::detailedText(tag, number, description, source), ui::vbExclamation, QStringLiteral("_IN_DEBUG"));
}

ado::RecordsetPtr getRecordSet(const QString& sql, const QString& tableName)
{
    ado::RecordsetPtr rs;
    trapped(QStringLiteral("MyMOD.getRecordSet : "),
            [&] { rs = openStatic(sql, fnConnectionForTable(tableName)); });
    return rs;
}

ado::RecordsetPtr getRecordSetByCn(const QString& sql, const ado::ConnectionPtr& connection)
{
    ado::RecordsetPtr rs;
    trapped(QStringLiteral("MyMOD.getRecordSetByCn : "), [&] { rs = openStatic(sql, connection); });
    return rs;
}

bool fnInGlobalvat(const QString& name)
{
    auto rs = newStaticRecordset();
    rs->Open(QStringLiteral("SELECT name FROM Globalvat WHERE ((name='") + ado::sqlQuoted(name) + QStringLiteral("'));"),
             fnLawConnection(), ado::adOpenForwardOnly);
    const bool found = !(rs->Bof() && rs->Eof());
    if (rs->State() == ado::adStateOpen)
        rs->Close();
    return found;
}

bool IsQueryReturnsNullCnStr(const QString& query, const QString& connectString)
{
    bool result = false;
    const bool ran = trapped(QStringLiteral("MyMOD.IsQueryReturnsNullCnStr : "), [&] {
        auto cn = ado::newConnection();
        cn->ConnectionString = connectString;
        cn->Open(QString(), QString(), QString(), -1);
        {
            auto rs = newStaticRecordset();
            rs->ActiveConnection = cn;
            rs->Open(query);
            if (!(rs->Bof() && rs->Eof())) {
                rs->MoveFirst();
                result = rs->Fields(0).Value().isNull();
            } else {
                result = true;
            }
        }
        if (result) {
            auto& kf = ui::form<keralaforms>();
            kf.MSRDC1->setConnect(state().LawConnectString1);
            kf.MSRDC1->setSQL(kPlaceholderQuery);
        }
    });
    return ran && result;
}

bool fnInDebug() { return true; }

bool fnTrySetFocus(QWidget* control)
{
    if (!control || !control->isVisible() || !control->isEnabled())
        return false;
    control->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace lawdb
