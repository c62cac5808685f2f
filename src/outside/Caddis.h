#pragma once

// The Caddis library: the program repository, a window over the program files of the program
// directory and their backups.

#include "platform/CodePage.h"
#include "platform/Export.h"

#include <string>

extern "C" {

// 1: the version text.
ORVALE_EXPORT void GetCaddisVersion(std::string& version);

// 2: Shows the repository of the program directory modally. Nothing without a window system.
// CodePage is that of the texts it shows beside the file names.
ORVALE_EXPORT void CaddisShowRepository(const orvale::CodePage& codePage);
}
