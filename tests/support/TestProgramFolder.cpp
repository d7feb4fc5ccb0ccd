// Builds a fresh program folder per test so no test sees another's databases.
#include "TestProgramFolder.h"

#include <databuild/DataBuilder.h>
#include <platform/sys/ProgramFolder.h>

#include <gtest/gtest.h>

TestProgramFolder::TestProgramFolder()
{
    if (!dir_.isValid()) {
        ADD_FAILURE() << "cannot create a temporary folder";
        return;
    }
    QString error;
    if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), dir_.path(), &error))
        ADD_FAILURE() << "program folder build failed: " << error.toStdString();
    sys::setProgramFolder(dir_.path());
}

TestProgramFolder::~TestProgramFolder()
{
    sys::setProgramFolder(QString());
}
