// Writes the speed suite's generated member to a file, lines ended by CR LF as a member
// converted from the host has them, so that the command-line tool and its peers can be timed
// on the very input the in-process benchmarks use.
//
//   orvale-benchmember LINES FILE

#include "GeneratedMember.h"

#include "platform/TextFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: orvale-benchmember LINES FILE\n");
        return 2;
    }
    std::string error;
    if (!orvale::WriteTextFile(argv[2], orvale::bench::GenerateMember(std::atoi(argv[1])),
                               &error)) {
        std::fprintf(stderr, "orvale-benchmember: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
