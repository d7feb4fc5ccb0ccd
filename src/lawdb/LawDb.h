// The shared state of the law library: one connection and one connect string per law
// database, one table catalogue per database, the layout rectangles the library window lays
// out from, the media root of the viewer windows and the shared file-system object.
// Everything lives in one struct behind state(); tests reset it with resetState().
#pragma once

#include "clsService.h"
#include "clsTableCollection.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/sys/FileSystem.h"

#include <QString>
#include <array>
#include <memory>

namespace lawdb {

// Two groups of four twips values; the library window says what each places.
struct LayoutRecord {
    std::array<qint16, 4> first{};
    std::array<qint16, 4> second{};
    bool operator==(const LayoutRecord&) const = default;
};

// The three law database files, numbered 1..3, as stored in the program folder.
QString lawFileName(int number);

struct LawDbState {
    // Connection objects exist from the first reference; procConnectLawDBs opens them.
    ado::ConnectionPtr LawConnection1 = ado::newConnection();
    ado::ConnectionPtr LawConnection2 = ado::newConnection();
    ado::ConnectionPtr LawConnection3 = ado::newConnection();
    QString LawConnectString1;
    QString LawConnectString2;
    QString LawConnectString3;
    clsTableCollectionPtr TableCatalog1;
    clsTableCollectionPtr TableCatalog2;
    clsTableCollectionPtr TableCatalog3;
    LayoutRecord LayoutRects;
    QString MediaRoot;                       // ends with a path separator
    std::shared_ptr<sys::FileSystemObject> fileSystem;
    // The list panel's word search: its recordset, and the table, column and ORDER BY
    // column of the list on view (empty until a list is filled).
    ado::RecordsetPtr WordSearchRecordset = ado::newRecordset();
    QString WordSearchTable;
    QString WordSearchColumn;
    QString WordSearchOrder;
    clsService Service;
    // The database procConnectLawDBs was working on when it stopped (0 once all are done),
    // so the start-up can name the file that failed.
    int connectingDatabase = 0;
};

LawDbState& state();
void resetState();

// Builds the connect strings, opens the three connections, fills the three catalogues and
// sets the layout rectangles and MediaRoot. Raises ado::Error on the first failure.
void procConnectLawDBs();

ado::ConnectionPtr fnLawConnection();
LayoutRecord fnLayoutRecord();
std::shared_ptr<sys::FileSystemObject> fnFileSystem();
// The connection of the lowest-numbered database whose catalogue holds the table, or nullptr.
ado::ConnectionPtr fnConnectionForTable(const QString& tableName);

} // namespace lawdb
