// lumora-databuild DATA_DIR PROGRAM_DIR: assembles the program folder from data/.
#include <cstdio>
int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR PROGRAM_DIR\n", argv[0]);
        return 2;
    }
    return 0;
}
