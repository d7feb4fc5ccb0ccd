// The library's 26 search screens as one table: which tree node or toolbar key opens each,
// the grid query it is created with, its settings, and how its Go value becomes a document
// query. The library window walks this table instead of keeping 26 near-identical openers.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace library {

// How the grid recordset is opened.
enum class GridRunner {
    ByTable,        // getRecordSet(query, "Kerala")
    ByConnection1,  // getRecordSetByCn(query, LawConnection1)
    ByConnection3   // getRecordSetByCn(query, LawConnection3)
};

// How a chosen value becomes a document statement (the library window's GoClicked handlers).
enum class GoShape {
    OwnDocument,               // the screen opens its document itself; no handler
    Index,                     // Kerala, by the name after the first "-" of the index cell
    Judgment,                  // Globalvat when the name is there, else Globalvatse
    Name,                      // Kerala, by the whole value
    NameWithCondition,         // Kerala, by the whole value, then the screen's conditions
    ScreenQuery,               // the statement the screen built itself (QueryString)
    NumericKey,                // the screen's table by ID, no placeholder check
    NumericKeyWithCondition    // the screen's table by ID, then the trimmed conditions
};

// A property the catalogue leaves at the screen's default.
constexpr int kNotSet = -1000;

struct ScreenSpec {
    const char* variable;      // the library window's name for the screen
    const char* opener;        // objectName of the tree, or "Toolbar2"
    const char* key;           // node key or toolbar button key
    const char* header;
    const char* query;         // grid query; empty for index and built queries
    const char* indexColumn;   // index screens: the Keralafields column ...
    const char* indexAlias;    // ... and the label's alias
    GridRunner runner;
    bool dontShowOleForm;      // false: left at the default
    int searchColumnIndex;
    int detailIndex;
    int hiddenIDIndex;         // kNotSet: left at the default
    int autoSizeColumnIndex;
    int predicateValueColumnIndex;
    const char* oleTableName;
    const char* oleColumnName;
    const char* predicateColumnName;
    const char* additionalSearchConditions;
    int connectString;         // 1 or 3: LawConnectString1 / LawConnectString3
    GoShape shape;
    bool hasBackHandler;       // BackClicked shows the library window

    QString gridQuery() const;
};

// The 26 screens, in the order the library window declares them.
const std::vector<ScreenSpec>& screenCatalog();
const ScreenSpec* findScreen(const QString& variable);
// The screen a tree node or toolbar key opens, or nullptr.
const ScreenSpec* screenFor(const QString& opener, const QString& key);

// The grid query of an index screen over one Keralafields column.
QString indexGridQuery(const QString& column, const QString& alias);
// The allied forms' names, in order, exactly as stored; and the query built from them.
const QStringList& alliedFormNames();
QString alliedFormsQuery();

} // namespace library
