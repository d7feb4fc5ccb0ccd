#include "platform/ui/controls/CollectionErrors.h"

#include "platform/db/Error.h"

namespace ui {

void raiseIndexOutOfBounds(const QString& source)
{
    throw ado::Error(kErrIndexOutOfBounds, QStringLiteral("Index out of bounds"), source);
}

void raiseElementNotFound(const QString& source)
{
    throw ado::Error(kErrElementNotFound, QStringLiteral("Element not found"), source);
}

void raiseKeyNotUnique(const QString& source)
{
    throw ado::Error(kErrKeyNotUnique, QStringLiteral("Key is not unique in collection"), source);
}

} // namespace ui
