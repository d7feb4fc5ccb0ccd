// A program folder of the sample data for a benchmark: built in `path`, made the program
// folder, the law databases connected, and `rows` generated cells added in one transaction to
// one column of the index table.
#pragma once

#include "databuild/DataBuilder.h"
#include "lawdb/LawDb.h"
#include "platform/sys/ProgramFolder.h"

#include <QString>
#include <functional>

inline void connectLawFolder(const QString& path, const QString& column, int rows,
                             const std::function<QString(int)>& cell)
{
    QString error;
    if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), path, &error))
        qFatal("program folder: %s", qPrintable(error));
    sys::setProgramFolder(path);
    lawdb::resetState();
    lawdb::procConnectLawDBs();
    auto cn = lawdb::state().LawConnection1;
    cn->BeginTrans();
    for (int i = 0; i < rows; ++i)
        cn->Execute(QStringLiteral("INSERT INTO Keralafields (") + column + QStringLiteral(") VALUES ('") + cell(i)
                    + QStringLiteral("')"));
    cn->CommitTrans();
}
