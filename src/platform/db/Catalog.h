// ADOX-style catalogue: the tables of a database, in the order the engine lists them.
#pragma once

#include "Connection.h"

#include <QStringList>

namespace ado {

class Catalog {
public:
    ConnectionPtr ActiveConnection;
    // Names of the user tables, in creation order.
    QStringList Tables() const;
};

} // namespace ado
