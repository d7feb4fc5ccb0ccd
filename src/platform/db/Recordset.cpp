// Recordsets: the whole result is read when the recordset opens; clones share the rows and
// keep their own position and filter. Edits go straight to the table of the statement:
// AddNew + Update inserts, assignments on the current row + Update updates by rowid.
#include "Recordset.h"
#include "AccessSql.h"
#include "RecordsetFilter.h"
#include "SharedHandle.h"

#include <QHash>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace ado {

namespace {

const char* const kRowidAlias = "__lumora_rowid";

struct ColumnInfo {
    QString name;
    int type = adVarWChar;
    QString origin;          // column of the base table; empty for expressions and other tables
    bool declared = false;   // the type comes from a declaration, not from the values
};

bool isDateType(int type) { return type == adDate || type == adDBDate || type == adDBTimeStamp; }

int typeFromDeclaration(const QString& decl)
{
    const QString d = decl.toUpper();
    if (d.contains(u"BOOL") || d.contains(u"BIT") || d.contains(u"YESNO") || d.contains(u"LOGICAL"))
        return adBoolean;
    // a date column reached through the ODBC driver reports the database's time stamp
    if (d.contains(u"DATE") || d.contains(u"TIME"))
        return adDBTimeStamp;
    if (d.contains(u"CURRENCY") || d.contains(u"MONEY"))
        return adCurrency;
    if (d.contains(u"INT") || d.contains(u"COUNTER") || d.contains(u"AUTOINCREMENT"))
        return adInteger;
    if (d.contains(u"CHAR") || d.contains(u"TEXT") || d.contains(u"CLOB") || d.contains(u"MEMO")
        || d.contains(u"STRING"))
        return adVarWChar;
    if (d.contains(u"BLOB") || d.contains(u"BINARY") || d.contains(u"OLE") || d.contains(u"IMAGE"))
        return adLongVarBinary;
    if (d.contains(u"REAL") || d.contains(u"DOUB") || d.contains(u"FLOA") || d.contains(u"NUMERIC")
        || d.contains(u"DECIMAL") || d.contains(u"NUMBER") || d.contains(u"SINGLE"))
        return adDouble;
    return adVarWChar;
}

int typeFromValue(const Variant& v)
{
    switch (v.kind()) {
    case Variant::Kind::Integer: return adInteger;
    case Variant::Kind::Double: return adDouble;
    case Variant::Kind::Boolean: return adBoolean;
    case Variant::Kind::Date: return adDBTimeStamp;
    case Variant::Kind::Binary: return adLongVarBinary;
    default: return adVarWChar;
    }
}

Variant readColumn(sqlite3_stmt* st, int i, int type)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(st, i);
        if (type == adBoolean)
            return Variant(v != 0);
        return Variant(v);
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(st, i);
        if (type == adBoolean)
            return Variant(v != 0.0);
        // The engine can hold an infinity (1e999 written in a statement); the runtime's numbers
        // cannot, and one read is no value.
        if (!std::isfinite(v))
            return Variant::null();
        return Variant(v);
    }
    case SQLITE_TEXT: {
        const QString s = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                            sqlite3_column_bytes(st, i));
        if (isDateType(type) && s.size() >= 10) {
            // stored as ISO text; a time part, if any, is not kept
            const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
            if (d.isValid() && (s.size() == 10 || s[10] == u' ' || s[10] == u'T'))
                return Variant(d);
        }
        return Variant(s);
    }
    default:
        return Variant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)));
    }
}

void bindValue(sqlite3_stmt* st, int i, const Variant& v, int type)
{
    switch (v.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
        sqlite3_bind_null(st, i);
        break;
    case Variant::Kind::Boolean:
        sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
        break;
    case Variant::Kind::Integer:
        sqlite3_bind_int64(st, i, v.toLongLong());
        break;
    case Variant::Kind::Double:
        // An infinity or NaN is never stored; the runtime would have overflowed making it.
        if (!std::isfinite(v.toDouble()))
            throw Error(err::Overflow, QStringLiteral("Overflow"), kDbSource);
        sqlite3_bind_double(st, i, v.toDouble());
        break;
    case Variant::Kind::Date: {
        const QByteArray iso = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, i, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        break;
    }
    case Variant::Kind::Text: {
        const QString s = v.toString();
        if (type == adBoolean) {
            const QString t = s.trimmed();
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
                sqlite3_bind_int(st, i, 1);
                break;
            }
            if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
                sqlite3_bind_int(st, i, 0);
                break;
            }
        }
        const QByteArray b = s.toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case Variant::Kind::Binary: {
        const QByteArray b = v.toBytes();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

bool isTextType(int type)
{
    return type == adVarWChar || type == adVarChar || type == adChar || type == adWChar || type == adBSTR
           || type == adLongVarChar || type == adLongVarWChar;
}

bool isWholeNumberType(int type) { return type == adInteger || type == adSmallInt || type == adBigInt; }

// A value is converted to the column's type on assignment, as the engine does: a text put in
// a number or date column is read as one (and refused there, before anything is written,
// when it is none); a number put in a whole-number column is rounded half to even; a number
// or truth value put in a text column is stored as its text (1500, not 1500.0).
Variant coerce(const Variant& v, const ColumnInfo& col)
{
    const int type = col.type;
    if (v.kind() != Variant::Kind::Text) {
        if (!col.declared)
            return v;
        if (isTextType(type) && v.isNumeric())
            return Variant(v.toString());
        if (isWholeNumberType(type) && (v.kind() == Variant::Kind::Double || v.kind() == Variant::Kind::Boolean))
            return Variant(v.toLongLong());
        return v;
    }
    const QString text = v.toString();
    const auto mismatch = [&] {
        return Error(err::TypeMismatch,
                     QStringLiteral("Type mismatch: '%1' cannot be stored in field '%2'.").arg(text, col.name),
                     kDbSource);
    };
    switch (type) {
    case adInteger:
    case adDouble:
    case adCurrency:
    case adSmallInt:
    case adSingle:
    case adBigInt: {
        double d = 0;
        switch (vb::readNumber(text, vb::NumberSyntax::Whole, &d)) {
        case vb::NumberRead::Number: break;
        case vb::NumberRead::None: throw mismatch();
        case vb::NumberRead::Overflow:
            throw Error(err::Overflow, QStringLiteral("Overflow: '%1' is too large for field '%2'.").arg(text, col.name),
                        kDbSource);
        }
        if (isWholeNumberType(type))
            return Variant(Variant(d).toLongLong());
        return Variant(d);
    }
    case adDate:
    case adDBDate:
    case adDBTimeStamp:
        try {
            return Variant(v.toDate());
        } catch (const Error&) {
            throw mismatch();
        }
    default:
        return v;
    }
}

QString quoteIdent(const QString& name)
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

[[noreturn]] void raiseNoCurrent()
{
    throw Error(err::NoCurrentRecord,
                QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                               "Requested operation requires a current record."),
                kDbSource);
}

[[noreturn]] void raiseReadOnly(const QString& why)
{
    throw Error(err::ReadOnly,
                QStringLiteral("Current Recordset does not support updating. ") + why, kDbSource);
}

[[noreturn]] void raiseItemNotFound(const QString& nameOrOrdinal)
{
    throw Error(err::ItemNotFound,
                QStringLiteral("Item cannot be found in the collection corresponding to the requested "
                               "name or ordinal (%1).").arg(nameOrOrdinal),
                kDbSource);
}

} // namespace

// ---- shared rows ----

struct Recordset::Data {
    std::shared_ptr<SharedHandle> handle;      // declared first: outlives the statements below
    QString source;
    std::vector<ColumnInfo> cols;
    QHash<QString, int> byName;                // lower-case name -> first column of that name
    struct Row {
        std::vector<Variant> values;
        qint64 rowid = 0;
        bool deleted = false;
    };
    std::vector<Row> rows;
    QString table;                             // the table edits go to; empty when none
    bool hasRowid = false;
    int generation = 0;
    std::map<QByteArray, Statement> statements;   // prepared edit statements, reused

    sqlite3_stmt* statement(const QByteArray& sql)
    {
        auto it = statements.find(sql);
        if (it == statements.end())
            it = statements.emplace(sql, Statement(handle->prepare(sql))).first;
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }

    // Runs an edit statement to its end.
    void run(sqlite3_stmt* st) const
    {
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            handle->raise(err::EngineFailure);
    }

    int column(const QString& name) const
    {
        const auto it = byName.find(name.toLower());
        return it == byName.end() ? -1 : it.value();
    }

    // The stored values of one row, read back after an insert or update so that the row
    // shows what the table holds (conversions by column type, defaults).
    std::vector<Variant> reread(qint64 rowid)
    {
        QByteArray sql = "SELECT ";
        for (size_t i = 0; i < cols.size(); ++i) {
            if (i)
                sql += ',';
            sql += cols[i].origin.isEmpty() ? QByteArray("NULL") : quoteIdent(cols[i].origin).toUtf8();
        }
        sql += " FROM " + quoteIdent(table).toUtf8() + " WHERE rowid=?";
        sqlite3_stmt* st = statement(sql);
        sqlite3_bind_int64(st, 1, rowid);
        std::vector<Variant> values(cols.size(), Variant::null());
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            for (size_t i = 0; i < cols.size(); ++i)
                values[i] = readColumn(st, int(i), cols[i].type);
        }
        sqlite3_reset(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            handle->raise(err::EngineFailure);
        return values;
    }
};

struct Recordset::Cursor {
    int lockType = adLockReadOnly;
    std::vector<int> view;          // indexes into Data::rows, ascending
    long pos = 0;                   // index into view; -1 before the first, view.size() after the last
    int seen = 0;                   // generation of Data the view reflects
    QString filterText;
    filter::Expression filter;
    enum class Mode { None, Adding, Editing } mode = Mode::None;
    std::vector<Variant> pending;
    std::vector<bool> touched;
    bool mayHoldDeleted = false;    // the view may still list deleted rows (see purge)

    bool onRow() const { return pos >= 0 && pos < long(view.size()); }
    Data::Row& row(Data& d) const { return d.rows[size_t(view[size_t(pos)])]; }
    bool onDeletedRow(const Data& d) const { return onRow() && d.rows[size_t(view[size_t(pos)])].deleted; }

    // The rows to show: those not deleted that pass the filter, and row `keep` whatever it is.
    std::vector<int> visibleRows(const Data& d, int keep) const
    {
        std::vector<int> rows;
        rows.reserve(d.rows.size());
        filter::Expression::Scan scan(filter);
        for (int i = 0; i < int(d.rows.size()); ++i) {
            const auto& row = d.rows[size_t(i)];
            if (i == keep || (!row.deleted && (filter.empty() || scan.matches(row.values))))
                rows.push_back(i);
        }
        return rows;
    }

    // The same rows as visibleRows(d, -1) for a filter that narrows the one the view was
    // built with, found among the rows of the view alone. An up-to-date view holds every row
    // that passes its filter (rows added or edited through this cursor stay in it too), so
    // no row of the narrower filter can be outside it.
    std::vector<int> narrowedRows(const Data& d) const
    {
        std::vector<int> rows;
        rows.reserve(view.size());
        filter::Expression::Scan scan(filter);
        for (int i : view) {
            const auto& row = d.rows[size_t(i)];
            if (!row.deleted && scan.matches(row.values))
                rows.push_back(i);
        }
        return rows;
    }

    // Counts a change this cursor made to the shared rows, so that other cursors rebuild their
    // views. Returns whether this cursor's view was up to date; it then stays so, the caller
    // having made the change in it.
    bool countChange(Data& d)
    {
        const bool current = seen == d.generation;
        ++d.generation;
        if (current)
            seen = d.generation;
        return current;
    }
};

// ---- Field ----

QString Field::Name() const
{
    rs_->requireOpen();
    return rs_->data_->cols[size_t(index_)].name;
}

int Field::Type() const
{
    rs_->requireOpen();
    return rs_->data_->cols[size_t(index_)].type;
}

Variant Field::Value() const
{
    Recordset& rs = *rs_;
    rs.requireOpen();
    rs.sync();
    Recordset::Cursor& c = *rs.cur_;
    if (c.mode != Recordset::Cursor::Mode::None)
        return c.pending[size_t(index_)];
    if (!c.onRow() || c.onDeletedRow(*rs.data_))
        raiseNoCurrent();
    return c.row(*rs.data_).values[size_t(index_)];
}

void Field::setValue(const Variant& v)
{
    Recordset& rs = *rs_;
    rs.requireOpen();
    rs.sync();
    Recordset::Cursor& c = *rs.cur_;
    rs.requireUpdatable();
    const ColumnInfo& col = rs.data_->cols[size_t(index_)];
    if (col.origin.isEmpty())
        raiseReadOnly(QStringLiteral("Field '%1' is not a column of table '%2'.").arg(col.name, rs.data_->table));
    if (c.mode == Recordset::Cursor::Mode::None) {
        if (!rs.data_->hasRowid)
            raiseReadOnly(QStringLiteral("The rows of this statement cannot be located in their table."));
        if (!c.onRow() || c.onDeletedRow(*rs.data_))
            raiseNoCurrent();
        c.pending = c.row(*rs.data_).values;
        c.touched.assign(c.pending.size(), false);
        c.mode = Recordset::Cursor::Mode::Editing;
    }
    c.pending[size_t(index_)] = v.isEmpty() ? Variant::null() : coerce(v, col);
    c.touched[size_t(index_)] = true;
}

// ---- Recordset ----

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::requireOpen() const
{
    if (!data_)
        raiseObjectClosed();
}

void Recordset::requireUpdatable() const
{
    requireOpen();
    if (cur_->lockType == adLockReadOnly)
        raiseReadOnly(QStringLiteral("The recordset is read-only."));
    if (data_->table.isEmpty())
        raiseReadOnly(QStringLiteral("The statement's rows are not the rows of one table."));
}

void Recordset::Open(const QString& source, const QString& connectString, int cursorType, int lockType,
                     long options)
{
    ConnectionPtr cn = newConnection();
    cn->Open(connectString);
    Open(source, cn, cursorType, lockType, options);
}

void Recordset::Open(const QString& source, ConnectionPtr connection, int cursorType, int lockType,
                     long options)
{
    if (data_)
        raiseObjectOpen();
    if (connection)
        ActiveConnection = connection;
    if (!ActiveConnection || !ActiveConnection->sharedHandle())
        raiseNoConnection();
    if (cursorType != adOpenUnspecified)
        CursorType = cursorType;
    if (lockType != adLockUnspecified)
        LockType = lockType;

    QString text = source;
    const QString trimmed = source.trimmed();
    const bool tableOption = options == 2 || options == 512;
    const bool bareName = !trimmed.isEmpty() && !trimmed.contains(u' ') && !trimmed.contains(u'(')
                          && trimmed.compare(QLatin1String("select"), Qt::CaseInsensitive) != 0;
    if (tableOption || ((options < 0 || options == 8) && bareName && !trimmed.startsWith(u'[')
                        && trimmed.front().isLetter()))
        text = QStringLiteral("SELECT * FROM [") + trimmed + u']';

    auto data = std::make_shared<Data>();
    data->handle = ActiveConnection->sharedHandle();
    data->source = source;
    const accesssql::Translation tr = accesssql::translate(text);

    Statement st = data->handle->prepareSingle(tr.sql);
    if (!st.get())
        throw Error(err::SyntaxError, QStringLiteral("The statement is empty."), kDbSource);

    if (sqlite3_column_count(st) == 0) {
        // A statement that returns no rows runs and leaves the recordset closed.
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            data->handle->raise(err::EngineFailure);
        return;
    }

    // Columns and the table they come from.
    const int n = sqlite3_column_count(st);
    QString table;
    bool oneTable = true;
    for (int i = 0; i < n; ++i) {
        ColumnInfo c;
        c.name = QString::fromUtf8(sqlite3_column_name(st, i));
        const char* decl = sqlite3_column_decltype(st, i);
        if (decl) {
            c.declared = true;
            c.type = typeFromDeclaration(QString::fromUtf8(decl));
        }
        const char* tname = sqlite3_column_table_name(st, i);
        const char* origin = sqlite3_column_origin_name(st, i);
        if (tname && origin) {
            const QString t = QString::fromUtf8(tname);
            if (table.isEmpty())
                table = t;
            else if (table.compare(t, Qt::CaseInsensitive) != 0)
                oneTable = false;
            c.origin = QString::fromUtf8(origin);
        }
        data->cols.push_back(c);
    }
    if (!oneTable) {
        table.clear();
        for (auto& c : data->cols)
            c.origin.clear();
    }

    // Read the rowid along with the rows when the statement's rows are rows of that table.
    int offset = 0;
    if (!table.isEmpty() && tr.rowidInsertAt >= 0) {
        QByteArray withRowid = tr.sql.left(tr.rowidInsertAt) + ' ' + quoteIdent(table).toUtf8() + ".rowid AS "
                               + kRowidAlias + ',' + tr.sql.mid(tr.rowidInsertAt);
        sqlite3_stmt* s2 = nullptr;
        if (sqlite3_prepare_v2(data->handle->db(), withRowid.constData(), int(withRowid.size()), &s2, nullptr) == SQLITE_OK
            && s2 && sqlite3_column_count(s2) == n + 1) {
            st = Statement(s2);
            offset = 1;
            data->hasRowid = true;
        } else {
            sqlite3_finalize(s2);
        }
    }
    data->table = table;

    for (int i = 0; i < n; ++i) {
        const QString key = data->cols[size_t(i)].name.toLower();
        if (!data->byName.contains(key))
            data->byName.insert(key, i);
    }

    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Data::Row row;
        row.values.reserve(size_t(n));
        if (offset)
            row.rowid = sqlite3_column_int64(st, 0);
        for (int i = 0; i < n; ++i)
            row.values.push_back(readColumn(st, i + offset, data->cols[size_t(i)].type));
        data->rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        data->handle->raise(err::EngineFailure);

    // Expression columns take their type from the first value that is not Null.
    for (int i = 0; i < n; ++i) {
        ColumnInfo& c = data->cols[size_t(i)];
        if (c.declared)
            continue;
        for (const auto& row : data->rows) {
            if (!row.values[size_t(i)].isNull()) {
                c.type = typeFromValue(row.values[size_t(i)]);
                break;
            }
        }
    }

    data_ = std::move(data);
    cur_ = std::make_unique<Cursor>();
    cur_->lockType = LockType;
    resetView();
}

void Recordset::resetView()
{
    Cursor& c = *cur_;
    c.view = c.visibleRows(*data_, -1);
    c.pos = 0;
    c.seen = data_->generation;
    c.mayHoldDeleted = false;
}

// Another cursor on the same rows changed them: rebuild the view, keeping the current row.
void Recordset::sync()
{
    Cursor& c = *cur_;
    if (c.seen == data_->generation)
        return;
    const int current = c.onRow() ? c.view[size_t(c.pos)] : -1;
    const bool after = c.pos >= long(c.view.size()) && !c.view.empty();
    c.view = c.visibleRows(*data_, current);
    c.mayHoldDeleted = current >= 0 && data_->rows[size_t(current)].deleted;
    if (current >= 0)
        c.pos = long(std::lower_bound(c.view.begin(), c.view.end(), current) - c.view.begin());
    else if (after)
        c.pos = long(c.view.size());
    c.seen = data_->generation;
}

// Drops deleted rows from the view; the position moves to the row after a deleted current row.
void Recordset::purge()
{
    Cursor& c = *cur_;
    if (!c.mayHoldDeleted)
        return;
    c.mayHoldDeleted = false;
    long pos = c.pos;
    std::vector<int> view;
    view.reserve(c.view.size());
    for (long i = 0; i < long(c.view.size()); ++i) {
        if (data_->rows[size_t(c.view[size_t(i)])].deleted) {
            if (i < c.pos)
                --pos;
            continue;
        }
        view.push_back(c.view[size_t(i)]);
    }
    c.view = std::move(view);
    c.pos = pos;
}

void Recordset::Close()
{
    data_.reset();
    cur_.reset();
}

int Recordset::State() const { return data_ ? adStateOpen : adStateClosed; }

QString Recordset::Source() const { return data_ ? data_->source : QString(); }

bool Recordset::Eof() const
{
    requireOpen();
    const_cast<Recordset*>(this)->sync();
    if (cur_->mode == Cursor::Mode::Adding)
        return false;
    return cur_->view.empty() || cur_->pos >= long(cur_->view.size());
}

bool Recordset::Bof() const
{
    requireOpen();
    const_cast<Recordset*>(this)->sync();
    if (cur_->mode == Cursor::Mode::Adding)
        return false;
    return cur_->view.empty() || cur_->pos < 0;
}

// Moving off a row with pending changes saves them first.
void Recordset::beforeMove()
{
    requireOpen();
    sync();
    if (cur_->mode != Cursor::Mode::None)
        Update();
}

void Recordset::MoveFirst()
{
    beforeMove();
    purge();
    cur_->pos = 0;
}

void Recordset::MoveLast()
{
    beforeMove();
    purge();
    cur_->pos = cur_->view.empty() ? 0 : long(cur_->view.size()) - 1;
}

void Recordset::MoveNext()
{
    beforeMove();
    Cursor& c = *cur_;
    if (c.view.empty() || c.pos >= long(c.view.size()))
        raiseNoCurrent();
    const bool currentDeleted = c.onDeletedRow(*data_);
    purge();
    if (!currentDeleted)
        ++c.pos;
}

void Recordset::MovePrevious()
{
    beforeMove();
    Cursor& c = *cur_;
    if (c.view.empty() || c.pos < 0)
        raiseNoCurrent();
    purge();
    --c.pos;
}

void Recordset::Move(long n)
{
    beforeMove();
    Cursor& c = *cur_;
    if (n == 0)
        return;
    if ((n > 0 && (c.view.empty() || c.pos >= long(c.view.size()))) || (n < 0 && (c.view.empty() || c.pos < 0)))
        raiseNoCurrent();
    const bool currentDeleted = c.onDeletedRow(*data_);
    purge();
    long target = c.pos + n - ((currentDeleted && n > 0) ? 1 : 0);
    c.pos = std::clamp(target, -1L, long(c.view.size()));
}

long Recordset::RecordCount() const
{
    requireOpen();
    const_cast<Recordset*>(this)->sync();
    if (!cur_->mayHoldDeleted)
        return long(cur_->view.size());
    long n = 0;
    for (int i : cur_->view)
        if (!data_->rows[size_t(i)].deleted)
            ++n;
    return n;
}

long Recordset::AbsolutePosition() const
{
    requireOpen();
    const_cast<Recordset*>(this)->sync();
    if (!cur_->onRow())
        return -1;
    return cur_->pos + 1;
}

int Recordset::FieldCount() const
{
    requireOpen();
    return int(data_->cols.size());
}

Field Recordset::Fields(int index)
{
    requireOpen();
    if (index < 0 || index >= int(data_->cols.size()))
        raiseItemNotFound(QString::number(index));
    return Field(this, index);
}

Field Recordset::Fields(const QString& name)
{
    requireOpen();
    const int i = data_->column(name);
    if (i < 0)
        raiseItemNotFound(name);
    return Field(this, i);
}

QStringList Recordset::fieldNames() const
{
    requireOpen();
    QStringList names;
    for (const auto& c : data_->cols)
        names << c.name;
    return names;
}

void Recordset::AddNew()
{
    requireUpdatable();
    sync();
    if (cur_->mode != Cursor::Mode::None)
        Update();
    cur_->pending.assign(data_->cols.size(), Variant::null());
    cur_->touched.assign(data_->cols.size(), false);
    cur_->mode = Cursor::Mode::Adding;
}

void Recordset::Update()
{
    requireOpen();
    sync();
    Cursor& c = *cur_;
    if (c.mode == Cursor::Mode::None)
        return;
    requireUpdatable();
    Data& d = *data_;
    const QByteArray table = quoteIdent(d.table).toUtf8();
    // The fields assigned since AddNew or the last Update, each table column once (one
    // column may appear twice in the field list).
    std::vector<int> bound;
    for (size_t i = 0; i < d.cols.size(); ++i) {
        if (!c.touched[i])
            continue;
        bool dup = false;
        for (int b : bound)
            dup = dup || d.cols[size_t(b)].origin.compare(d.cols[i].origin, Qt::CaseInsensitive) == 0;
        if (!dup)
            bound.push_back(int(i));
    }
    const auto bindAssigned = [&](sqlite3_stmt* st) {
        for (size_t k = 0; k < bound.size(); ++k)
            bindValue(st, int(k) + 1, c.pending[size_t(bound[k])], d.cols[size_t(bound[k])].type);
    };

    if (c.mode == Cursor::Mode::Adding) {
        QByteArray names, marks;
        for (int i : bound) {
            if (!names.isEmpty()) {
                names += ',';
                marks += ',';
            }
            names += quoteIdent(d.cols[size_t(i)].origin).toUtf8();
            marks += '?';
        }
        const QByteArray sql = bound.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                             : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
        sqlite3_stmt* st = d.statement(sql);
        bindAssigned(st);
        d.run(st);
        Data::Row row;
        row.rowid = sqlite3_last_insert_rowid(d.handle->db());
        row.values = d.reread(row.rowid);
        d.rows.push_back(std::move(row));
        if (c.countChange(d))
            c.view.push_back(int(d.rows.size()) - 1);
        else
            sync();
        c.pos = long(std::lower_bound(c.view.begin(), c.view.end(), int(d.rows.size()) - 1) - c.view.begin());
        c.mode = Cursor::Mode::None;
        return;
    }

    // Editing the current row.
    Data::Row& row = c.row(d);
    QByteArray sets;
    for (int i : bound) {
        if (!sets.isEmpty())
            sets += ',';
        sets += quoteIdent(d.cols[size_t(i)].origin).toUtf8() + "=?";
    }
    if (!bound.empty()) {
        sqlite3_stmt* st = d.statement("UPDATE " + table + " SET " + sets + " WHERE rowid=?");
        bindAssigned(st);
        sqlite3_bind_int64(st, int(bound.size()) + 1, row.rowid);
        d.run(st);
        if (sqlite3_changes(d.handle->db()) == 0) {
            c.mode = Cursor::Mode::None;
            throw Error(err::RowNotFound, QStringLiteral("Row cannot be located for updating. Some values may "
                                                         "have been changed since it was last read."), kDbSource);
        }
        row.values = d.reread(row.rowid);
        c.countChange(d);
    }
    c.mode = Cursor::Mode::None;
}

void Recordset::CancelUpdate()
{
    requireOpen();
    cur_->mode = Cursor::Mode::None;
    cur_->pending.clear();
    cur_->touched.clear();
}

void Recordset::Delete()
{
    requireUpdatable();
    sync();
    Cursor& c = *cur_;
    if (c.mode == Cursor::Mode::Adding) {
        CancelUpdate();
        return;
    }
    c.mode = Cursor::Mode::None;
    if (!c.onRow() || c.onDeletedRow(*data_))
        raiseNoCurrent();
    if (!data_->hasRowid)
        raiseReadOnly(QStringLiteral("The rows of this statement cannot be located in their table."));
    Data& d = *data_;
    Data::Row& row = c.row(d);
    sqlite3_stmt* st = d.statement("DELETE FROM " + quoteIdent(d.table).toUtf8() + " WHERE rowid=?");
    sqlite3_bind_int64(st, 1, row.rowid);
    d.run(st);
    row.deleted = true;
    c.mayHoldDeleted = true;
    c.countChange(d);
}

bool Recordset::editMode() const
{
    return cur_ && cur_->mode != Cursor::Mode::None;
}

Variant Recordset::Bookmark() const
{
    requireOpen();
    const_cast<Recordset*>(this)->sync();
    if (!cur_->onRow() || cur_->mode == Cursor::Mode::Adding)
        return Variant::null();
    return Variant(qint64(cur_->view[size_t(cur_->pos)]));
}

void Recordset::setBookmark(const Variant& bookmark)
{
    beforeMove();
    Cursor& c = *cur_;
    qint64 id = -1;
    if (bookmark.kind() == Variant::Kind::Integer || bookmark.kind() == Variant::Kind::Double)
        id = bookmark.toLongLong();
    const auto it = std::lower_bound(c.view.begin(), c.view.end(), int(id));
    if (id < 0 || it == c.view.end() || *it != id || data_->rows[size_t(id)].deleted)
        throw Error(err::FilterInvalid,
                    QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                   "conflict with one another. The bookmark names no row of this recordset."),
                    kDbSource);
    c.pos = long(it - c.view.begin());
}

RecordsetPtr Recordset::Clone(int lockType)
{
    requireOpen();
    auto rs = std::make_shared<Recordset>();
    rs->ActiveConnection = ActiveConnection;
    rs->CursorType = CursorType;
    rs->CursorLocation = CursorLocation;
    rs->LockType = lockType == adLockUnspecified ? cur_->lockType : lockType;
    rs->data_ = data_;
    rs->cur_ = std::make_unique<Cursor>();
    rs->cur_->lockType = rs->LockType;
    rs->resetView();
    return rs;
}

QString Recordset::Filter() const
{
    return cur_ ? cur_->filterText : QString();
}

void Recordset::setFilter(const QString& text)
{
    requireOpen();
    if (text.trimmed().isEmpty()) {
        setFilterNone();
        return;
    }
    filter::Expression e = filter::Expression::parse(text, [this](const QString& name) { return data_->column(name); });
    beforeMove();
    Cursor& c = *cur_;
    const bool narrowing = c.seen == data_->generation && e.narrows(c.filter);
    c.filter = std::move(e);
    c.filterText = text;
    if (!narrowing) {
        resetView();
        return;
    }
    c.view = c.narrowedRows(*data_);
    c.pos = 0;
    c.mayHoldDeleted = false;
}

void Recordset::setFilterNone()
{
    requireOpen();
    beforeMove();
    cur_->filter = filter::Expression();
    cur_->filterText.clear();
    resetView();
}

int Recordset::generation() const
{
    return data_ ? data_->generation : 0;
}

} // namespace ado
