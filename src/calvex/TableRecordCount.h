#pragma once

// How many records of compile-time data the extension section declares for a table.

#include "document/EditSection.h"

#include <string_view>

namespace calvex {

// From the first Tab statement of Extension whose first parameter is ArrayName (ignoring
// case): the entries per table divided by the entries per record, rounded up. The entries per
// table when that is negative or there are fewer than two entries per record; -1 when no Tab
// statement names the table. A raw RPG(...) extension line that declares the table counts too.
int TableRecordCount(const TEDITSection& extension, std::string_view arrayName);

// An array section named with a leading "**" holds the records of a table that a copied member
// declares: they are carried as they stand. Its label is the rest of the name; any other
// array's label is its name upper-cased. The separator line of compiled data carries the label.
bool IsCarriedArray(std::string_view name);
std::string ArrayLabel(std::string_view name);

} // namespace calvex
