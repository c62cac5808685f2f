#pragma once

// The Lumbro library: a print-layout aid for an output section.

#include "platform/CodePage.h"
#include "platform/Export.h"
#include "platform/StringList.h"

#include <string>

extern "C" {

// 1: the version text.
ORVALE_EXPORT void GetLumbroVersion(std::string& version);

// 2: Shows the layout of the output statements in Lines, which the user may edit. True when
// the user accepted changed statements, which Lines then holds; false leaves Lines as it was
// (also without a window system). CodePage is that of the lines.
ORVALE_EXPORT bool LumbroDesign(StringList& lines, const orvale::CodePage& codePage);
}
