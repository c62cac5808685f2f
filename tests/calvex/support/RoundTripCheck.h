#pragma once

// The round-trip rule lives with the library (calvex/MemberRoundTrip.h), where the program's
// tools use it too; the tests keep their names for it.

#include "calvex/MemberRoundTrip.h"

namespace calvex::test {

using calvex::CompareRoundTrip;
using calvex::IsAddedBanner;
using calvex::LineDifference;

} // namespace calvex::test
