// Reading a report's data: one read-only recordset per band table on a connection of the
// report's own. The names are checked against the file before any row is read.
#include "platform/ui/reports/ReportData.h"

#include "platform/db/Catalog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/vb/Vb.h"

#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace ui {
namespace {

// A figure kept as text is read as the register screen reads its cells: grouping commas
// allowed, no exponent.
QString moneyText(const ado::Variant& v)
{
    if (v.kind() == ado::Variant::Kind::Text) {
        double value = 0;
        const QString text = v.toString();
        return vb::readNumber(text, vb::NumberSyntax::Amount, &value) == vb::NumberRead::Number ? vb::Format00(value)
                                                                                                 : vb::Trim(text);
    }
    return vb::Trim(vb::Format(v, QStringLiteral("#0.00")));
}

QString plainText(const ado::Variant& v)
{
    return vb::Trim(v.toDisplayString());
}

QString cellText(const ado::Variant& v, CellFormat format)
{
    return format == CellFormat::Money ? moneyText(v) : plainText(v);
}

// Rows sort by value: numbers by size before texts, texts without regard to case, empty last.
bool sortsBefore(const ado::Variant& a, const ado::Variant& b)
{
    const QString ta = a.toDisplayString(), tb = b.toDisplayString();
    const bool ea = ta.trimmed().isEmpty(), eb = tb.trimmed().isEmpty();
    if (ea || eb)
        return !ea && eb;
    double na = 0, nb = 0;
    const bool numA = a.isNumeric() ? (na = a.toDouble(), true) : ado::Variant::parseNumber(ta, &na);
    const bool numB = b.isNumeric() ? (nb = b.toDouble(), true) : ado::Variant::parseNumber(tb, &nb);
    if (numA && numB)
        return na < nb;
    if (numA != numB)
        return numA;
    return QString::compare(ta.trimmed(), tb.trimmed(), Qt::CaseInsensitive) < 0;
}

bool sameKey(const ado::Variant& a, const ado::Variant& b)
{
    if (a.isNull() || b.isNull())
        return false;
    return QString::compare(vb::Trim(a.toDisplayString()), vb::Trim(b.toDisplayString()), Qt::CaseInsensitive) == 0;
}

class Reader {
public:
    Reader(const ReportTemplate& t, QString templateFile, const QString& dataFile, RowSelection selection)
        : t_(t), templateFile_(std::move(templateFile)), dataPath_(sys::localPath(dataFile)),
          selection_(std::move(selection))
    {
        if (dataFile.trimmed().isEmpty())
            throw ReportError(templateFile_, 0, QStringLiteral("the report was given no data file"));
        dataName_ = QFileInfo(dataPath_).fileName();
        try {
            cn_->Open(ado::accessConnectString(dataFile));
            ado::Catalog catalog;
            catalog.ActiveConnection = cn_;
            tables_ = catalog.Tables();
        } catch (const ado::Error& e) {
            throw unreadable(e);
        }
    }

    ReportError unreadable(const ado::Error& e) const
    {
        return ReportError(dataPath_, 0, QStringLiteral("the data file cannot be read: ") + e.Description());
    }

    ReportData read()
    {
        // Every name first: a report either prints in full or says what is wrong.
        ado::RecordsetPtr header, detail, summary;
        if (t_.hasHeader()) {
            header = open(t_.headerTable);
            for (const ReportField& f : t_.fields)
                index(*header, t_.headerTable, f.column);
        }
        detail = open(t_.detailTable);
        for (const ReportColumn& c : t_.columns)
            index(*detail, t_.detailTable, c.column);
        if (!t_.orderBy.name.isEmpty())
            index(*detail, t_.detailTable, t_.orderBy);
        for (const TemplateName& l : t_.links) {
            index(*detail, t_.detailTable, l);
            index(*header, t_.headerTable, l);
        }
        if (t_.hasSummary()) {
            summary = same(t_.summaryTable, t_.headerTable) ? header : open(t_.summaryTable);
            for (const SummaryLine& l : t_.summaryLines)
                for (const TemplateName& c : l.columns)
                    index(*summary, t_.summaryTable, c);
        }

        ReportData data;
        std::vector<ado::Variant> keys;
        if (header) {
            data.hasHeaderRow = !header->Eof();
            for (const ReportField& f : t_.fields)
                data.fieldValues << (data.hasHeaderRow ? plainText(value(*header, t_.headerTable, f.column)) : QString());
            for (const TemplateName& l : t_.links)
                keys.push_back(data.hasHeaderRow ? value(*header, t_.headerTable, l) : ado::Variant::null());
        }
        readDetail(*detail, keys, data);
        if (summary) {
            data.hasSummaryRow = !summary->Eof();
            for (const SummaryLine& l : t_.summaryLines) {
                QStringList cells;
                for (const TemplateName& c : l.columns)
                    cells << (data.hasSummaryRow ? moneyText(value(*summary, t_.summaryTable, c)) : QString());
                data.summaryCells.push_back(cells);
            }
        }
        return data;
    }

private:
    static bool same(const TemplateName& a, const TemplateName& b) { return a.name.compare(b.name, Qt::CaseInsensitive) == 0; }

    ado::RecordsetPtr open(const TemplateName& table)
    {
        if (!tables_.contains(table.name, Qt::CaseInsensitive))
            throw ReportError(templateFile_, table.line,
                              QStringLiteral("the data file %1 has no table \"%2\"").arg(dataName_, table.name));
        QString statement = QStringLiteral("SELECT * FROM ") + table.name;
        if (!selection_.column.isEmpty())
            statement += QStringLiteral(" WHERE ") + selection_.column + QStringLiteral("='")
                         + ado::sqlQuoted(selection_.value) + QLatin1Char('\'');
        auto rs = ado::newRecordset();
        try {
            rs->Open(statement, cn_, ado::adOpenForwardOnly, ado::adLockReadOnly);
        } catch (const ado::Error& e) {
            throw ReportError(dataPath_, 0, QStringLiteral("the table \"%1\" cannot be read: %2").arg(table.name, e.Description()));
        }
        return rs;
    }

    int index(const ado::Recordset& rs, const TemplateName& table, const TemplateName& column)
    {
        const QStringList names = rs.fieldNames();
        for (int i = 0; i < names.size(); ++i)
            if (names.at(i).compare(column.name, Qt::CaseInsensitive) == 0)
                return i;
        throw ReportError(templateFile_, column.line,
                          QStringLiteral("the table \"%1\" has no column \"%2\"").arg(table.name, column.name));
    }

    ado::Variant value(ado::Recordset& rs, const TemplateName& table, const TemplateName& column)
    {
        return rs.Fields(index(rs, table, column)).Value();
    }

    void readDetail(ado::Recordset& rs, const std::vector<ado::Variant>& keys, ReportData& data)
    {
        std::vector<int> cols, linkCols;
        for (const ReportColumn& c : t_.columns)
            cols.push_back(index(rs, t_.detailTable, c.column));
        for (const TemplateName& l : t_.links)
            linkCols.push_back(index(rs, t_.detailTable, l));
        const int orderCol = t_.orderBy.name.isEmpty() ? -1 : index(rs, t_.detailTable, t_.orderBy);

        std::vector<ado::Variant> order;
        for (; !rs.Eof(); rs.MoveNext()) {
            bool linked = true;
            for (size_t k = 0; k < linkCols.size() && linked; ++k)
                linked = sameKey(rs.Fields(linkCols[k]).Value(), keys[k]);
            if (!linked)
                continue;
            QStringList cells;
            for (size_t c = 0; c < cols.size(); ++c)
                cells << cellText(rs.Fields(cols[c]).Value(), t_.columns[c].format);
            data.rows.push_back(cells);
            if (orderCol >= 0)
                order.push_back(rs.Fields(orderCol).Value());
        }
        if (orderCol < 0)
            return;
        std::vector<size_t> at(data.rows.size());
        std::iota(at.begin(), at.end(), size_t(0));
        std::stable_sort(at.begin(), at.end(), [&](size_t a, size_t b) { return sortsBefore(order[a], order[b]); });
        std::vector<QStringList> sorted;
        sorted.reserve(at.size());
        for (size_t i : at)
            sorted.push_back(std::move(data.rows[i]));
        data.rows = std::move(sorted);
    }

    const ReportTemplate& t_;
    QString templateFile_;
    QString dataPath_;
    QString dataName_;
    RowSelection selection_;
    ado::ConnectionPtr cn_ = ado::newConnection();
    QStringList tables_;
};

} // namespace

ReportData readReportData(const ReportTemplate& t, const QString& templateFile, const QString& dataFile,
                          const RowSelection& selection)
{
    Reader reader(t, templateFile, dataFile, selection);
    try {
        return reader.read();
    } catch (const ado::Error& e) {
        throw reader.unreadable(e);   // a row that cannot be read (the file locked meanwhile)
    }
}

} // namespace ui
