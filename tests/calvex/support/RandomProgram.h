#pragma once

// Random but well-formed programs for the round-trip property: every section holds statements
// exactly as the import writes them (indentation, capitals, parameter order, trailing comments
// in their column), drawn from every statement of the keyword table and every operation code,
// with flags parts, comments, directives and element notation. A build followed by an import
// must give each statement back unchanged.

#include "MemberWalk.h"

#include <random>
#include <set>
#include <string>

namespace calvex::test {

// Fills Sections (a fresh one) with a random program. Statements use the indentation width
// TabSpaces, as the import would write them with it. Kinds, when given, receives the name of
// every keyword-table statement and operation code written, as the tables spell them.
void GenerateProgram(std::mt19937& random, MemberSections& sections, int tabSpaces = 2,
                     std::set<std::string>* kinds = nullptr);

} // namespace calvex::test
