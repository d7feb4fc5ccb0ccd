// The dealers whose books the Form 10 tool keeps: tblDealer of nwForm10DB.mdb, kept with the
// registers so that a backup carries both and a change of code moves a dealer's rows in the
// same transaction as the list.
//
// The code is what keys every Form 10 row (cCode); the list only names it. Rows stored before
// there was a list carry the empty code: they are offered as one entry of their own and take
// a code and a name when that entry is corrected. Nothing here removes a dealer or a row.
#pragma once

#include "form10/returns/SaveUnit.h"

#include <QString>
#include <optional>
#include <vector>

namespace f10 {

struct Dealer {
    QString code, name, tin, cstNo;
    bool operator==(const Dealer&) const = default;
};

struct DealerChoices {
    std::vector<Dealer> dealers;   // by name
    bool unkeyedRows = false;      // rows stored with the empty code exist
    QString lastCode;              // the dealer chosen last; empty for none or the unkeyed rows
};

// Creates tblDealer when the file has none, then reads the list. Raises on a database failure.
DealerChoices readDealers();

// Why the dealer cannot be stored as typed (code or name missing, a TIN not in its form), or
// "" when it can. The dealer is taken trimmed.
QString dealerProblem(const Dealer& d);
// The dealer with its texts trimmed.
Dealer trimmed(const Dealer& d);

// The name of another dealer that already has `code` (codes compare without regard to
// case, as every keyed statement does), if any. `except` is the code of the dealer
// being corrected. Raises on a database failure.
std::optional<QString> codeOwner(const QString& code, const QString& except);
// Whether any Form 10 table holds rows under `code`. Raises on a database failure.
bool codeHasRows(const QString& code);

// Adds a dealer. Raises on a database failure.
void addDealer(const Dealer& d);
// Corrects the dealer now coded `oldCode` (or gives the unkeyed rows their dealer) in one
// transaction: the list entry and, in every Form 10 table, the code and the dealer name of
// its rows. Returns the failure when the transaction was rolled back.
SaveFailure correctDealer(const QString& oldCode, bool unkeyed, const Dealer& d);
// Remembers `code` as the dealer chosen last (empty: the unkeyed rows). Raises on a failure.
void rememberChoice(const QString& code);

// The Form 10 tables that hold rows keyed by dealer, and whether each names the dealer too.
struct KeyedTable {
    const char* name;
    bool hasAddress;
};
extern const KeyedTable kDealerKeyedTables[16];

} // namespace f10
