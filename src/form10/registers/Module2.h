// What every piece of Form 10 work shares: the connection to nwForm10DB.mdb, the three
// shared recordsets, the statement text, the dealer and page-key values, and the small
// services of the register screen (bill-date text, month start, select-all).
//
// Every step that touches the Form 10 database begins with procOpenForm10DB(), which puts a
// fresh connection and fresh, closed recordsets into the shared state; the objects it
// replaces are released, never closed. Connections on one file share one SQLite handle
// (see platform/db/Connection.h), so a step that renews them mid-way stays in the same
// transaction.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

#include <QDate>
#include <QString>
#include <functional>

struct Module2State {
    ado::ConnectionPtr Form10Connection;
    ado::RecordsetPtr ReadRecordset;
    ado::RecordsetPtr StagingRecordset;
    ado::RecordsetPtr WriteRecordset;
    QString SqlText;

    // Dealer values: read by the Form 10 work, set by the dealer window (frmDealer) when a
    // dealer is chosen; empty until then and for the rows stored before there were dealers.
    QString DealerCode;
    QString DealerName;
    QString DealerTIN;
    QString DealerCSTNo;

    // Page-key values of the Form 10 return pages.
    QString ReturnYear;
    QString ReturnSequence;
    QString ReturnPeriodFrom;
    bool PageRecordExists = false;

    // Handed to the direct form window by the option screen.
    QString DirectFormDealerCode;
    bool DirectFormFlag = false;
};

// The one instance; tests reset it between cases.
Module2State& Module2();
void resetModule2();

// The connect string of the Form 10 database in the program folder.
QString form10ConnectString();
// A new connection to the Form 10 database, opened. Raises when the file cannot be opened.
ado::ConnectionPtr openForm10Connection();

// Renews and opens Form10Connection; renews the three recordsets. Raises on failure.
void procOpenForm10DB();
// Renews the connection, then runs "DELETE * FROM  <table>". Raises on failure.
void procDeleteAllRows(const QString& tableName);
// The same for the rows of the dealer in DealerCode only. Raises on failure.
void procDeleteDealerRows(const QString& tableName);
// The date a "dd-mm-yy" text names (characters 1-2 day, 4-5 month, 7-8 year). A text that
// is not exactly eight characters once trimmed (05-12-2009) or names no real date
// (31-02-08, ab-cd-ef) raises ado::Error 13 (type mismatch).
QDate fnDateFromDMY(const QString& text);
// "01-" + two-digit month + "-" + yearText for an English month name (any case, not
// trimmed); "" for a name it does not know.
QString fnMonthStartDate(const QString& monthName, const QString& yearText);
// True when the trimmed text has '-' as its third and sixth characters.
bool fnIsDashDate(const QString& text);
// Replaces Form10Connection by a new, unopened connection and closes the one it held (unless
// a transaction is open on it): the backup window, before it copies the database files.
void procCloseForm10DBs();

// Runs one user action of the Form 10 screens; a database failure inside it (the file
// missing, a table that cannot be read) is shown as "<tag> :<description> | No: <number>
// | Src: <source>" instead of ending the program. Returns false after a failure.
bool runReported(const QString& tag, const std::function<void()>& action);

// Selects the whole text of a text control (anything with setSelStart/setSelLength/Text).
template <class TextControl>
void fnSelectAllText(TextControl& box)
{
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().length()));
}
