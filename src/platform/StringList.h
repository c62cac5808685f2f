#pragma once

#include <string>
#include <vector>

// An ordered list of single-byte text lines: the unit of exchange between the document,
// the libraries and the files. One byte is one RPG column.
using StringList = std::vector<std::string>;
