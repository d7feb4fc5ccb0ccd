// The remote-data binding: a connect string and a statement; Refresh runs the statement on a
// connection of its own, and the first row it returns becomes the current row that bound
// controls (the document view) show. Nothing is ever written back.
#pragma once

#include "platform/db/Variant.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace ui {

class RemoteData : public QObject {
    Q_OBJECT
public:
    explicit RemoteData(const QString& objectName, QObject* parent = nullptr);

    QString Connect() const { return connect_; }
    void setConnect(const QString& connectString) { connect_ = connectString; }
    QString SQL() const { return sql_; }
    void setSQL(const QString& sql) { sql_ = sql; }

    // Runs the statement. Raises the database layer's ado::Error when the connection or the
    // statement fails; the binding then has no current row.
    void Refresh();

    bool hasRow() const { return hasRow_; }
    QStringList fieldNames() const;
    // The current row's value of a column (name without regard to case); Empty when there
    // is no current row or no such column.
    ado::Variant value(const QString& field) const;

signals:
    void refreshed();

private:
    QString connect_;
    QString sql_;
    bool hasRow_ = false;
    std::vector<std::pair<QString, ado::Variant>> row_;
};

} // namespace ui
