#include "access/KeyFile.h"
#include "calvex/Convert.h"
