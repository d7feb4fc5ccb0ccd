// The errors of the keyed collections (tree nodes, toolbar buttons and their menus, status
// bar panels), raised as ado::Error with the collection's source.
#pragma once

#include <QString>

namespace ui {

constexpr long kErrIndexOutOfBounds = 35600;
constexpr long kErrElementNotFound = 35601;
constexpr long kErrKeyNotUnique = 35602;

[[noreturn]] void raiseIndexOutOfBounds(const QString& source);
[[noreturn]] void raiseElementNotFound(const QString& source);
[[noreturn]] void raiseKeyNotUnique(const QString& source);

} // namespace ui
