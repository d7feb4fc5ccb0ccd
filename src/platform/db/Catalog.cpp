// The catalogue lists what the file holds, in the order it was created (sqlite_master's
// rowid order), leaving out the engine's own tables.
#include "Catalog.h"
#include "SharedHandle.h"

#include <sqlite3.h>

namespace ado {

QStringList Catalog::Tables() const
{
    if (!ActiveConnection || !ActiveConnection->sharedHandle())
        raiseNoConnection();
    SharedHandle& h = *ActiveConnection->sharedHandle();
    Statement st(h.prepare("SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    if (rc != SQLITE_DONE)
        h.raise(err::EngineFailure);
    return names;
}

} // namespace ado
