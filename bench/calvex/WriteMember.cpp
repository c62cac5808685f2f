// Writes the speed suite's generated member to a file, lines ended by CR LF as a member
// converted from the host has them, so that the command-line tool and its peers can be timed
// on the very input the in-process benchmarks use.
//
//   orvale-benchmember [--routines] LINES FILE     --routines: the member of many small
//                                                 subroutines instead

#include "GeneratedMember.h"
#include "RoutineMember.h"

#include "platform/TextFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    bool routines = argc > 1 && std::string_view(argv[1]) == "--routines";
    if (routines) {
        --argc;
        ++argv;
    }
    if (argc != 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: orvale-benchmember [--routines] LINES FILE\n");
        return 2;
    }
    int lines = std::atoi(argv[1]);
    StringList member = routines ? orvale::bench::GenerateRoutineMember(lines)
                                 : orvale::bench::GenerateMember(lines);
    std::string error;
    if (!orvale::WriteTextFile(argv[2], member, &error)) {
        std::fprintf(stderr, "orvale-benchmember: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
