// orvale-helpgen PROMPTFILE DIR: writes the help pages and their keyword index for the
// operation codes of a prompt-help parameter file into DIR. The build runs it so that the
// program directory's Help folder has a page for every code the editor can ask about.

#include "frame/HelpPages.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvale-helpgen PROMPTFILE DIR\n");
        return 2;
    }
    std::string error;
    if (!WriteHelpPages(argv[1], argv[2], &error)) {
        std::fprintf(stderr, "orvale-helpgen: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
