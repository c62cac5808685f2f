#pragma once

// Compile of the statements of the keyword table (file, extension, line-counter, input and
// output sections): each parameter goes into the field its slot names, checked by the slot's
// type, and the entry's fixed texts fill their fields.

#include "Statement.h"
#include "platform/StringList.h"

namespace calvex {

// Params is the parsed list (entry 0 the upper-cased name); FormType the section's form type.
// Raw lines, directives, comments and continuation lines go to CheckSpecialLine.
ResultLine CompileTableStatement(const StringList& params, char formType);

} // namespace calvex
