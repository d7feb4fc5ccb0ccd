#include "LawDb.h"

#include "platform/db/Catalog.h"
#include "platform/db/StatementText.h"
#include "platform/sys/ProgramFolder.h"

namespace lawdb {

namespace {

std::unique_ptr<LawDbState>& holder()
{
    static std::unique_ptr<LawDbState> s = std::make_unique<LawDbState>();
    return s;
}

void openLaw(int number, QString& connectString, const ado::ConnectionPtr& connection,
             const QString& credentials)
{
    state().connectingDatabase = number;
    connectString = ado::accessConnectString(sys::programPath(lawFileName(number))) + QStringLiteral(";")
                    + credentials;
    connection->ConnectionString = connectString;
    connection->Open(QString(), QString(), QString(), -1);
}

clsTableCollectionPtr catalogue(int number, const ado::ConnectionPtr& connection)
{
    state().connectingDatabase = number;
    auto tables = std::make_shared<clsTableCollection>();
    ado::Catalog cat;
    cat.ActiveConnection = connection;
    for (const QString& name : cat.Tables())
        tables->Add(name, tables, name);
    return tables;
}

} // namespace

QString lawFileName(int number)
{
    switch (number) {
    case 1: return QStringLiteral("0909214SD01.mdb");
    case 2: return QStringLiteral("1309214SD02.mdb");
    case 3: return QStringLiteral("1509214SD03.mdb");
    default: return QString();
    }
}

LawDbState& state() { return *holder(); }

void resetState() { holder() = std::make_unique<LawDbState>(); }

void procConnectLawDBs()
{
    LawDbState& s = state();
    openLaw(1, s.LawConnectString1, s.LawConnection1, QStringLiteral("Uid=admin;Pwd=lanterns;"));
    openLaw(2, s.LawConnectString2, s.LawConnection2, QStringLiteral("Uid=admin;Pwd=pimento"));
    openLaw(3, s.LawConnectString3, s.LawConnection3, QStringLiteral("Uid=admin;Pwd=quarrel"));

    // The viewer windows look for their documents under <root>Lumora1\...; the program
    // folder stands in for the drive root the documents were once shipped on.
    s.MediaRoot = sys::programFolder() + QStringLiteral("\\");

    s.TableCatalog1 = catalogue(1, s.LawConnection1);
    s.TableCatalog2 = catalogue(2, s.LawConnection2);
    s.TableCatalog3 = catalogue(3, s.LawConnection3);
    s.connectingDatabase = 0;

    s.LayoutRects.first = {180, 1740, 8295, 5775};
    s.LayoutRects.second = {180, 1740, 12735, 5535};
}

ado::ConnectionPtr fnLawConnection()
{
    auto& c = state().LawConnection1;
    if (!c)
        c = ado::newConnection();
    return c;
}

LayoutRecord fnLayoutRecord() { return state().LayoutRects; }

std::shared_ptr<sys::FileSystemObject> fnFileSystem()
{
    auto& fs = state().fileSystem;
    if (!fs)
        fs = std::make_shared<sys::FileSystemObject>();
    return fs;
}

ado::ConnectionPtr fnConnectionForTable(const QString& tableName)
{
    const LawDbState& s = state();
    if (s.TableCatalog1 && s.TableCatalog1->Contains(tableName))
        return s.LawConnection1;
    if (s.TableCatalog2 && s.TableCatalog2->Contains(tableName))
        return s.LawConnection2;
    if (s.TableCatalog3 && s.TableCatalog3->Contains(tableName))
        return s.LawConnection3;
    return nullptr;
}

} // namespace lawdb
