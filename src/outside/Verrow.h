#pragma once

// The Verrow library: a browser of RPG program files that shows each program's description
// and hands back the one the user picks.

#include "platform/CodePage.h"
#include "platform/Export.h"

#include <string>

extern "C" {

// 1: the version text.
ORVALE_EXPORT void GetVerrowVersion(std::string& version);

// 2: Shows the browser modally. Path may name a folder or a file to start in (empty: the
// folder browsed last, else the home folder); it receives the chosen program's full path, or
// an empty text when the user chose nothing (also without a window system). CodePage is that
// of the programs' text.
ORVALE_EXPORT void VerrowBrowse(std::string& path, const orvale::CodePage& codePage);
}
