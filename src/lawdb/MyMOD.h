// The recordset and document-lookup services every law screen reads through: two recordset
// openers, the Globalvat test, the placeholder-document service, the focus service and the
// flag that selects the detailed error messages.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"

#include <QString>
#include <exception>

class QWidget;

namespace lawdb {

// The statement that selects the placeholder document on database 1.
inline const QString kPlaceholderQuery = QStringLiteral(
    "SELECT Globalvat.fname FROM Globalvat WHERE (((Globalvat.name)='default') AND ((Globalvat.type)='default'));");

// Static cursor, client side, optimistic. nullptr after a failure, which has been shown.
ado::RecordsetPtr getRecordSet(const QString& sql, const QString& tableName);
ado::RecordsetPtr getRecordSetByCn(const QString& sql, const ado::ConnectionPtr& connection);
// True when Globalvat holds a row with this name. Raises on failure.
bool fnInGlobalvat(const QString& name);
// True when the query yields no row or a Null first column; the document window is then
// already bound to the placeholder. False after any failure (shown).
bool IsQueryReturnsNullCnStr(const QString& query, const QString& connectString);
bool fnInDebug();
bool fnTrySetFocus(QWidget* control);

// "<tag><description> | No: <number> | Src: <source>", exclamation, "_IN_DEBUG".
void showDetailedError(const QString& tag, long number, const QString& description, const QString& source);

// Runs `body`; any failure ends it and, with the debug flag, shows the detailed message with
// `tag`. Returns whether it ran through.
template <class Body>
bool trapped(const QString& tag, Body&& body)
{
    try {
        body();
        return true;
    } catch (const ado::Error& e) {
        if (fnInDebug())
            showDetailedError(tag, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        if (fnInDebug())
            showDetailedError(tag, ado::err::InvalidProcedureCall, QString::fromLocal8Bit(e.what()),
                              QStringLiteral("Lumora"));
    }
    return false;
}

} // namespace lawdb
