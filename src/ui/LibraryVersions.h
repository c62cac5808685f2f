#pragma once

// The version texts of the six libraries the program binds, for the about box, each with what
// the library does for the program.

#include <string>
#include <vector>

struct TLibraryVersion {
    std::string Library;
    std::string Role;
    std::string Version;
};

// Calvex, Ondrel, Verrow, Caddis, Tessary and Lumbro, in that order, asked for their version.
std::vector<TLibraryVersion> LibraryVersions();
