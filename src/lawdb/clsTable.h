// One entry of a table catalogue: a table's name and a child collection.
#pragma once

#include <QString>
#include <memory>

namespace lawdb {

class clsTableCollection;

class clsTable {
public:
    clsTable();
    ~clsTable();

    // The child collection; created empty (once) when nobody set one.
    std::shared_ptr<clsTableCollection> getClsTableCollection();
    void setClsTableCollection(std::shared_ptr<clsTableCollection> child);

    void setTableName(const QString& name) { tableName_ = name; }
    QString TableName() const { return tableName_; }

private:
    friend class clsTableCollection;
    // The catalogue fill makes each entry's child the catalogue that holds the entry; holding
    // that one strongly would keep both alive forever, so it is held weakly.
    void setOwningCollection(const std::shared_ptr<clsTableCollection>& owner);

    QString tableName_;
    std::shared_ptr<clsTableCollection> child_;
    std::weak_ptr<clsTableCollection> owner_;
    bool childIsOwner_ = false;
};

using clsTablePtr = std::shared_ptr<clsTable>;

} // namespace lawdb
