// orvale-helpgen PROMPTFILE [STATEMENTFILE] DIR: writes the help pages and their keyword index
// into DIR: the user's guide, a page for every operation code of a prompt-help parameter file
// and, with the statement file, a page for every statement of the specification sections. The
// build runs it so that the program directory's Help folder has a page for everything the
// editor can ask about.

#include "frame/HelpPages.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: orvale-helpgen PROMPTFILE [STATEMENTFILE] DIR\n");
        return 2;
    }
    std::string statements = argc == 4 ? argv[2] : "";
    std::string error;
    if (!WriteHelpPages(argv[1], argv[argc - 1], &error, statements)) {
        std::fprintf(stderr, "orvale-helpgen: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
