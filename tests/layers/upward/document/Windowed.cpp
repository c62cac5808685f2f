#include "../platform/StringList.h"

#include <QString>
#include <string>
