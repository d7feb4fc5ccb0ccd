// A keyed, ordered collection of catalogue entries. Keys are unique and compare without
// regard to case; positions count from 1 in the order of adding.
#pragma once

#include "clsTable.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace lawdb {

class clsTableCollection : public std::enable_shared_from_this<clsTableCollection> {
public:
    // Collection errors, as the program's runtime numbers them.
    static constexpr long kErrSubscript = 9;       // position out of range
    static constexpr long kErrInvalidCall = 5;     // key not present
    static constexpr long kErrDuplicateKey = 457;  // key already present

    // An empty key adds the entry without a key. Raises ado::Error 457 on a duplicate key.
    clsTablePtr Add(const QString& tableName, std::shared_ptr<clsTableCollection> child,
                    const QString& key = QString());
    clsTablePtr Item(int position) const;          // raises 9 when out of range
    clsTablePtr Item(const QString& key) const;    // raises 5 when absent
    long Count() const { return static_cast<long>(tables_.size()); }
    void Remove(int position);
    void Remove(const QString& key);
    bool Contains(const QString& key) const noexcept;

    // The entries in order (a snapshot, safe to iterate while the collection changes).
    std::vector<clsTablePtr> NewEnum() const;
    auto begin() const { return tables_.begin(); }
    auto end() const { return tables_.end(); }

private:
    static QString fold(const QString& key) { return key.toCaseFolded(); }
    void removeAt(std::size_t index);

    std::vector<clsTablePtr> tables_;
    std::vector<QString> keys_;   // folded, parallel to tables_; empty for none
    QHash<QString, clsTablePtr> byKey_;
};

using clsTableCollectionPtr = std::shared_ptr<clsTableCollection>;

} // namespace lawdb
