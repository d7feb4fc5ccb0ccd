#include "platform/ui/documents/RemoteData.h"

#include "platform/db/Recordset.h"

namespace ui {

RemoteData::RemoteData(const QString& objectName, QObject* parent) : QObject(parent)
{
    setObjectName(objectName);
}

void RemoteData::Refresh()
{
    hasRow_ = false;
    row_.clear();
    try {
        ado::Recordset rs;
        rs.Open(sql_, connect_, ado::adOpenStatic, ado::adLockReadOnly);
        if (rs.State() == ado::adStateOpen) {
            if (!rs.Eof()) {
                for (int i = 0; i < rs.FieldCount(); ++i) {
                    ado::Field f = rs.Fields(i);
                    row_.emplace_back(f.Name(), f.Value());
                }
                hasRow_ = true;
            }
            rs.Close();
        }
    } catch (...) {
        emit refreshed();
        throw;
    }
    emit refreshed();
}

QStringList RemoteData::fieldNames() const
{
    QStringList names;
    for (const auto& [name, value] : row_)
        names.append(name);
    return names;
}

ado::Variant RemoteData::value(const QString& field) const
{
    for (const auto& [name, value] : row_)
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

} // namespace ui
