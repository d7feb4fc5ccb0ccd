// lumora-databuild DATA_DIR PROGRAM_DIR: assembles the program folder from data/.
#include "databuild/DataBuilder.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR PROGRAM_DIR\n", argv[0]);
        return 2;
    }
    QString error;
    if (!databuild::buildProgramFolder(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), &error)) {
        std::fprintf(stderr, "lumora-databuild: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
