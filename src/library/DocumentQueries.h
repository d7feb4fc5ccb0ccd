// The statements that turn a chosen search-screen row into a document query. Every value put
// between quotes has its quotes doubled, so a name such as "Dealer's Guide" finds its row
// instead of breaking the statement; a numeric key is checked to be a number before it goes
// into a statement unquoted.
#pragma once

#include "platform/db/StatementText.h"
#include "platform/db/Variant.h"

#include <QString>
#include <optional>

namespace library {

using ado::sqlQuoted;

// The search screen's own Go statement:
// "select C from T where P='V' " followed by the trimmed conditions.
QString goQueryText(const QString& oleColumn, const QString& oleTable,
                    const QString& predicateColumn, const QString& value,
                    const QString& conditions);

// The document name inside an index cell "label-name": the text after the first "-";
// empty when there is no "-" or nothing follows it. Nothing is trimmed.
QString indexDocumentName(const QString& cell);

// "select fname from <table> where name='<name>'" followed by `condition` as given.
QString nameStatement(const QString& table, const QString& name, const QString& condition = {});

// The decimal text of a whole-number key, or nothing when the value is Null, Empty or no
// number (such a value must never reach a statement unquoted).
std::optional<QString> numericKeyText(const ado::Variant& value);

// "select fname from T where K=<key>" (no condition).
QString numericKeyStatement(const QString& table, const QString& keyColumn, const QString& key);

// "select C from T where K=<key> " followed by the trimmed conditions.
QString numericKeyStatementWithCondition(const QString& oleColumn, const QString& table,
                                         const QString& keyColumn, const QString& key,
                                         const QString& conditions);

} // namespace library
