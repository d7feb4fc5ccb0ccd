#include "clsTableCollection.h"

#include "platform/db/Error.h"

namespace lawdb {

namespace {
const QString kSource = QStringLiteral("Lumora.Collection");
}

clsTablePtr clsTableCollection::Add(const QString& tableName, std::shared_ptr<clsTableCollection> child,
                                    const QString& key)
{
    const QString folded = fold(key);
    if (!folded.isEmpty() && byKey_.contains(folded))
        throw ado::Error(kErrDuplicateKey,
                         QStringLiteral("This key is already associated with an element of this collection"),
                         kSource);
    auto table = std::make_shared<clsTable>();
    table->setTableName(tableName);
    if (child && child.get() == this)
        table->setOwningCollection(child);
    else
        table->setClsTableCollection(std::move(child));
    tables_.push_back(table);
    keys_.push_back(folded);
    if (!folded.isEmpty())
        byKey_.insert(folded, table);
    return table;
}

clsTablePtr clsTableCollection::Item(int position) const
{
    if (position < 1 || position > Count())
        throw ado::Error(kErrSubscript, QStringLiteral("Subscript out of range"), kSource);
    return tables_[static_cast<std::size_t>(position - 1)];
}

clsTablePtr clsTableCollection::Item(const QString& key) const
{
    const auto it = byKey_.constFind(fold(key));
    if (key.isEmpty() || it == byKey_.constEnd())
        throw ado::Error(kErrInvalidCall, QStringLiteral("Invalid procedure call or argument"), kSource);
    return it.value();
}

void clsTableCollection::removeAt(std::size_t index)
{
    if (!keys_[index].isEmpty())
        byKey_.remove(keys_[index]);
    tables_.erase(tables_.begin() + static_cast<std::ptrdiff_t>(index));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
}

void clsTableCollection::Remove(int position)
{
    if (position < 1 || position > Count())
        throw ado::Error(kErrSubscript, QStringLiteral("Subscript out of range"), kSource);
    removeAt(static_cast<std::size_t>(position - 1));
}

void clsTableCollection::Remove(const QString& key)
{
    const QString folded = fold(key);
    for (std::size_t i = 0; !folded.isEmpty() && i < keys_.size(); ++i) {
        if (keys_[i] == folded) {
            removeAt(i);
            return;
        }
    }
    throw ado::Error(kErrInvalidCall, QStringLiteral("Invalid procedure call or argument"), kSource);
}

bool clsTableCollection::Contains(const QString& key) const noexcept
{
    return !key.isEmpty() && byKey_.contains(fold(key));
}

std::vector<clsTablePtr> clsTableCollection::NewEnum() const
{
    return tables_;
}

} // namespace lawdb
