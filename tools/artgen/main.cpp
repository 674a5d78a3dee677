// artgen <game data folder> <review folder>: draws and writes all the game's data.
#include "tools/artgen/Generator.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: artgen <game data folder> <review folder>\n");
        return 2;
    }
    std::string error;
    if (!artgen::GenerateAll(argv[1], argv[2], &error)) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
