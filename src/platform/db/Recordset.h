// Our stand-in for ADODB.Recordset. The result is read whole when the recordset opens
// (client side), whatever the cursor type; the lock type decides whether edits are allowed.
// AddNew + assignments + Update inserts into the statement's table (unset columns stay NULL);
// assignments on the current row + Update updates that row by rowid.
// Opening a statement that returns no rows (DELETE, UPDATE, INSERT) runs it and leaves the
// recordset closed.
#pragma once

#include "Connection.h"
#include "Variant.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace ado {

enum CursorType { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1,
                  adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType { adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2,
                adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum CursorLocation { adUseServer = 2, adUseClient = 3 };
enum FilterGroup { adFilterNone = 0 };

// ADO data type codes reported by Field::Type().
enum DataType {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6,
    adDate = 7, adBoolean = 11, adVariant = 12, adTinyInt = 16, adBigInt = 20,
    adNumeric = 131, adDBDate = 133, adDBTimeStamp = 135, adBSTR = 8, adChar = 129,
    adWChar = 130, adVarChar = 200, adLongVarChar = 201, adVarWChar = 202,
    adLongVarWChar = 203, adBinary = 128, adVarBinary = 204, adLongVarBinary = 205
};

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

// A column of the current row. Obtained from Recordset::Fields; valid while the recordset is.
class Field {
public:
    QString Name() const;
    int Type() const;
    Variant Value() const;                 // raises 3021 when there is no current row
    void setValue(const Variant& v);       // raises 3251 on a read-only recordset
    Field& operator=(const Variant& v) { setValue(v); return *this; }
    operator Variant() const { return Value(); }

private:
    friend class Recordset;
    Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
    Recordset* rs_;
    int index_;
};

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    Recordset();
    ~Recordset();

    // Settings that apply when Open is given no value of its own.
    ConnectionPtr ActiveConnection;
    int CursorType = adOpenForwardOnly;
    int LockType = adLockReadOnly;
    int CursorLocation = adUseServer;

    void Open(const QString& source, ConnectionPtr connection = nullptr,
              int cursorType = adOpenUnspecified, int lockType = adLockUnspecified,
              long options = -1);
    // Opens on a connection of its own made from a connect string.
    void Open(const QString& source, const QString& connectString,
              int cursorType = adOpenUnspecified, int lockType = adLockUnspecified,
              long options = -1);
    void Close();                          // idempotent
    int State() const;
    QString Source() const;

    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(long n);
    long RecordCount() const;              // rows visible through the filter
    long AbsolutePosition() const;         // 1-based; -1 when not on a row

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString& name);     // case-insensitive; 3265 when unknown
    QStringList fieldNames() const;

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();                         // deletes the current row by rowid
    bool editMode() const;

    // Bookmarks identify a row across clones of one recordset; Null when not on a row.
    Variant Bookmark() const;
    void setBookmark(const Variant& bookmark);

    // A second cursor on the same rows; lockType adLockReadOnly refuses edits.
    RecordsetPtr Clone(int lockType = adLockUnspecified);

    // The filter grammar of the search screens: "F LIKE '*w*'" terms joined by AND, numeric
    // and boolean equality, date ranges. Setting it makes the first matching row current.
    // A text outside the grammar raises error 3001 with a clear description.
    QString Filter() const;
    void setFilter(const QString& filter);
    void setFilterNone();

    // Rows were added, removed or changed through this or another cursor on the same rows.
    // (The data grid listens to this to refresh.)
    int generation() const;

private:
    friend class Field;
    void requireOpen() const;
    void requireUpdatable() const;
    void resetView();
    void sync();
    void purge();
    void beforeMove();

    struct Data;                           // rows shared by clones
    std::shared_ptr<Data> data_;
    struct Cursor;
    std::unique_ptr<Cursor> cur_;
};

inline RecordsetPtr newRecordset() { return std::make_shared<Recordset>(); }

} // namespace ado
