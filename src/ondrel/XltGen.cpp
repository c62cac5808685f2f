// orvale-xltgen CODEPAGE DIR: writes the translation files of an EBCDIC code page into DIR.
// The build runs it to place the default pair into the program directory.

#include "CodePageTables.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvale-xltgen CODEPAGE DIR\n");
        return 2;
    }
    std::string error;
    if (!ondrel::WriteCodePageTables(argv[1], argv[2], error)) {
        std::fprintf(stderr, "orvale-xltgen: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
