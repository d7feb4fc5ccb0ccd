#include "clsTable.h"

#include "clsTableCollection.h"

namespace lawdb {

clsTable::clsTable() = default;
clsTable::~clsTable() = default;

std::shared_ptr<clsTableCollection> clsTable::getClsTableCollection()
{
    if (childIsOwner_) {
        if (auto owner = owner_.lock())
            return owner;
        childIsOwner_ = false;   // the owner is gone: behave as if nothing was set
    }
    if (!child_)
        child_ = std::make_shared<clsTableCollection>();
    return child_;
}

void clsTable::setClsTableCollection(std::shared_ptr<clsTableCollection> child)
{
    child_ = std::move(child);
    owner_.reset();
    childIsOwner_ = false;
}

void clsTable::setOwningCollection(const std::shared_ptr<clsTableCollection>& owner)
{
    child_.reset();
    owner_ = owner;
    childIsOwner_ = true;
}

} // namespace lawdb
