// Assembles the program folder from data/:
//   data/schema/<database>.sql   one script per database file (SQLite dialect)
//   data/law/<table>.tsv         the rows of the law tables; a document column names a file under
//                                data/law/docs/ or is empty, and then a sample document is made
//   data/docs/*                  help documents, copied to <program>/docs/
//   data/central/*.rtf           the Central Sales Tax window's documents, to <program>/central/
//   data/*.rpt, data/reports/*.rpt, data/test.swf   report templates and banner, copied when present
// Every file is made in a temporary file beside its target and renamed into place only when
// complete and different from the one there: a failed build never leaves a half-filled
// database behind, an unchanged file is left alone, and a program running from the folder
// keeps reading the whole file it opened. The Form 10 database and the two data files hold
// the user's work: they are created when missing, never replaced. The files are written
// through the program's own database layer.
#include "DataBuilder.h"

#include "SampleDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace databuild {

namespace {

struct BuildError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString& what)
{
    throw BuildError(what.toStdString());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return f.readAll();
}

// A manifest line is tab-separated; lines starting with '#' and empty lines are skipped.
// Fields are not trimmed: blanks inside and at the end of a name are part of it.
std::vector<QStringList> readManifest(const QString& path)
{
    std::vector<QStringList> rows;
    const QString text = QString::fromUtf8(readFile(path));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        rows.push_back(line.split(QLatin1Char('\t')));
    }
    return rows;
}

QString field(const QStringList& row, int i)
{
    return i < row.size() ? row.at(i) : QString();
}

// The statements of a schema script: comment lines dropped, split at each ';' that ends a
// line. The scripts are ours and keep to that shape.
QStringList schemaStatements(const QString& script)
{
    QStringList statements;
    QString current;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current;
    return statements;
}

// A database file written through the program's own database layer, so the files it makes
// are exactly what the program reads and writes.
class Database {
public:
    explicit Database(const QString& path)
    {
        // The layer opens existing files only: an empty file is an empty database.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(QStringLiteral("cannot create %1: %2").arg(path, file.errorString()));
        file.close();
        cn_->Open(ado::accessConnectString(path));
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const QString& sql, const QString& context)
    {
        for (const QString& statement : schemaStatements(sql)) {
            try {
                cn_->Execute(statement);
            } catch (const ado::Error& e) {
                fail(QStringLiteral("%1: %2").arg(context, e.Description()));
            }
        }
    }

    void begin() { cn_->BeginTrans(); }
    void commit() { cn_->CommitTrans(); }

    // Adds one row through a recordset on the table: quotes and blanks in names are stored
    // exactly, documents go in whole. A null QVariant leaves the column NULL.
    void insert(const QString& table, const QStringList& columns, const QList<QVariant>& values)
    {
        try {
            ado::Recordset& rs = recordset(table);
            rs.AddNew();
            for (int i = 0; i < values.size(); ++i) {
                const QVariant& v = values.at(i);
                if (v.isNull())
                    continue;
                if (v.typeId() == QMetaType::QByteArray)
                    rs.Fields(columns.at(i)) = ado::Variant(v.toByteArray());
                else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
                    rs.Fields(columns.at(i)) = ado::Variant(qint64(v.toLongLong()));
                else
                    rs.Fields(columns.at(i)) = ado::Variant(v.toString());
            }
            rs.Update();
        } catch (const ado::Error& e) {
            fail(QStringLiteral("%1: %2").arg(table, e.Description()));
        }
    }

    void close()
    {
        tables_.clear();
        cn_->Close();
    }

private:
    // One empty recordset per table, kept open for adding rows.
    ado::Recordset& recordset(const QString& table)
    {
        auto& rs = tables_[table];
        if (!rs) {
            rs = ado::newRecordset();
            rs->Open(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1=0"), cn_,
                     ado::adOpenKeyset, ado::adLockOptimistic);
        }
        return *rs;
    }

    ado::ConnectionPtr cn_ = ado::newConnection();
    std::map<QString, ado::RecordsetPtr> tables_;
};

using Filler = std::function<void(Database&)>;

QString tempFileOf(const QString& target) { return target + QStringLiteral(".building"); }

bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!fa.atEnd()) {
        if (fa.read(kChunk) != fb.read(kChunk))
            return false;
    }
    return true;
}

// rename(2) replaces the old file in one step; whoever has it open keeps the old file, whole.
void renameInto(const QString& temp, const QString& target)
{
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        fail(QStringLiteral("cannot move the new file into place: %1").arg(target));
    }
}

// Puts the finished `temp` in the place of `target`, unless the two are alike.
void putInPlace(const QString& temp, const QString& target)
{
    if (sameContent(temp, target)) {
        QFile::remove(temp);
        return;
    }
    renameInto(temp, target);
}

// Builds a database in a temporary file beside the target and puts it in place.
void buildDatabase(const QString& schemaFile, const QString& target, const Filler& fill)
{
    const QString temp = tempFileOf(target);
    QFile::remove(temp);
    try {
        Database db(temp);
        db.exec(QString::fromUtf8(readFile(schemaFile)), QFileInfo(schemaFile).fileName());
        if (fill) {
            db.begin();
            fill(db);
            db.commit();
        }
        db.close();
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    putInPlace(temp, target);
}

class LawContent {
public:
    explicit LawContent(const QString& dataDir) : lawDir_(dataDir + QStringLiteral("/law")) {}

    std::vector<QStringList> rows(const QString& table) const
    {
        return readManifest(lawDir_ + QLatin1Char('/') + table + QStringLiteral(".tsv"));
    }

    // The named hand-written document, or a sample generated from the title.
    QByteArray document(const QString& file, const QString& title, const QString& kind,
                        const QString& description) const
    {
        if (!file.isEmpty())
            return readFile(lawDir_ + QStringLiteral("/docs/") + file);
        return sampleDocument(title, kind, description);
    }

private:
    QString lawDir_;
};

QString kindOfKeralaType(const QString& type)
{
    const QString t = type.toLower();
    if (t == QLatin1String("act"))
        return QStringLiteral("Act");
    if (t == QLatin1String("rules"))
        return QStringLiteral("Rules");
    if (t == QLatin1String("forms"))
        return QStringLiteral("Form");
    if (t == QLatin1String("allied"))
        return QStringLiteral("Allied law");
    return type;
}

void fillDatabase1(Database& db, const LawContent& law)
{
    for (const QStringList& r : law.rows(QStringLiteral("Kerala"))) {
        const QString name = field(r, 0), type = field(r, 1), desc = field(r, 3);
        bool ok = false;
        const int chapter = field(r, 2).toInt(&ok);
        db.insert(QStringLiteral("Kerala"),
                  {QStringLiteral("name"), QStringLiteral("type"), QStringLiteral("ChapterNo"),
                   QStringLiteral("SecDesc"), QStringLiteral("fname")},
                  {name, type, ok ? QVariant(chapter) : QVariant(),
                   desc.isEmpty() ? QVariant() : QVariant(desc),
                   law.document(field(r, 4), name, kindOfKeralaType(type), desc)});
    }

    // The i-th cell of each index column goes to row i, so rows fill some columns only.
    QStringList columns;
    QList<QStringList> cells;
    for (const QStringList& r : law.rows(QStringLiteral("Keralafields"))) {
        const QString column = field(r, 0);
        int at = columns.indexOf(column);
        if (at < 0) {
            columns << column;
            cells << QStringList();
            at = int(columns.size()) - 1;
        }
        cells[at] << field(r, 1);
    }
    qsizetype rowCount = 0;
    for (const QStringList& c : cells)
        rowCount = std::max(rowCount, c.size());
    for (qsizetype i = 0; i < rowCount; ++i) {
        QStringList names{QStringLiteral("ID")};
        QList<QVariant> values{QVariant(int(i + 1))};
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (i < cells[c].size()) {
                names << columns[c];
                values << cells[c][i];
            }
        }
        db.insert(QStringLiteral("Keralafields"), names, values);
    }

    for (const QStringList& r : law.rows(QStringLiteral("Globalvat"))) {
        const QString name = field(r, 0);
        db.insert(QStringLiteral("Globalvat"),
                  {QStringLiteral("name"), QStringLiteral("type"), QStringLiteral("fname")},
                  {name, field(r, 1), law.document(field(r, 2), name, QStringLiteral("Judgment"), {})});
    }
}

void fillDatabase2(Database& db, const LawContent& law)
{
    for (const QStringList& r : law.rows(QStringLiteral("Globalvatse"))) {
        const QString name = field(r, 0);
        db.insert(QStringLiteral("Globalvatse"), {QStringLiteral("name"), QStringLiteral("fname")},
                  {name, law.document(field(r, 1), name, QStringLiteral("Judgment"), {})});
    }
}

void fillDatabase3(Database& db, const LawContent& law)
{
    int id = 0;
    for (const QStringList& r : law.rows(QStringLiteral("CAPractice"))) {
        const QString name = field(r, 0), type = field(r, 1);
        db.insert(QStringLiteral("CAPractice"),
                  {QStringLiteral("ID"), QStringLiteral("name"), QStringLiteral("Type"),
                   QStringLiteral("Weight"), QStringLiteral("fname")},
                  {++id, name, type.isEmpty() ? QVariant() : QVariant(type), field(r, 2).toInt(),
                   law.document(field(r, 3), name, QStringLiteral("Practice note"), type)});
    }
    id = 0;
    for (const QStringList& r : law.rows(QStringLiteral("Allshedule"))) {
        const QString name = field(r, 0);
        db.insert(QStringLiteral("Allshedule"),
                  {QStringLiteral("ID"), QStringLiteral("Schname"), QStringLiteral("Stid"), QStringLiteral("fname")},
                  {++id, name, field(r, 1), law.document(field(r, 2), name, QStringLiteral("Schedule"), {})});
    }
}

void copyFile(const QString& from, const QString& to)
{
    if (sameContent(from, to))
        return;
    const QString temp = tempFileOf(to);
    QFile::remove(temp);
    if (!QFile::copy(from, temp)) {
        QFile::remove(temp);
        fail(QStringLiteral("cannot copy %1 to %2").arg(from, to));
    }
    renameInto(temp, to);   // already known to differ
}

void copyMatching(const QString& fromDir, const QStringList& patterns, const QString& toDir)
{
    const QDir dir(fromDir);
    if (!dir.exists())
        return;
    for (const QFileInfo& fi : dir.entryInfoList(patterns, QDir::Files))
        copyFile(fi.absoluteFilePath(), toDir + QLatin1Char('/') + fi.fileName());
}

} // namespace

bool buildProgramFolder(const QString& dataDir, const QString& programDir, QString* error)
{
    try {
        if (!QDir(dataDir).exists())
            fail(QStringLiteral("data folder not found: %1").arg(dataDir));
        if (!QDir().mkpath(programDir))
            fail(QStringLiteral("cannot create the program folder %1").arg(programDir));
        const QString schema = dataDir + QStringLiteral("/schema/");
        const auto target = [&](const char* name) { return programDir + QLatin1Char('/') + QLatin1String(name); };

        const LawContent law(dataDir);
        buildDatabase(schema + QStringLiteral("0909214SD01.sql"), target("0909214SD01.mdb"),
                      [&](Database& db) { fillDatabase1(db, law); });
        buildDatabase(schema + QStringLiteral("1309214SD02.sql"), target("1309214SD02.mdb"),
                      [&](Database& db) { fillDatabase2(db, law); });
        buildDatabase(schema + QStringLiteral("1509214SD03.sql"), target("1509214SD03.mdb"),
                      [&](Database& db) { fillDatabase3(db, law); });

        // The user's work: created once, never replaced.
        for (const char* name : {"nwForm10DB", "TAXDATA", "Form10Data"}) {
            const QString file = target(name) + QStringLiteral(".mdb");
            if (!QFileInfo::exists(file))
                buildDatabase(schema + QLatin1String(name) + QStringLiteral(".sql"), file, {});
        }

        const QString docs = programDir + QStringLiteral("/docs");
        if (!QDir().mkpath(docs))
            fail(QStringLiteral("cannot create %1").arg(docs));
        copyMatching(dataDir + QStringLiteral("/docs"), {QStringLiteral("*")}, docs);
        const QString centralDocs = programDir + QStringLiteral("/central");
        if (!QDir().mkpath(centralDocs))
            fail(QStringLiteral("cannot create %1").arg(centralDocs));
        copyMatching(dataDir + QStringLiteral("/central"), {QStringLiteral("*.rtf")}, centralDocs);
        copyMatching(dataDir, {QStringLiteral("*.rpt"), QStringLiteral("test.swf")}, programDir);
        copyMatching(dataDir + QStringLiteral("/reports"), {QStringLiteral("*.rpt")}, programDir);
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
    if (error)
        error->clear();
    return true;
}

} // namespace databuild
