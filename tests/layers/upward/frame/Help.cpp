#include "ondrel/Query.h"
#include "tessary/FormPrmt.h"
#include "tessary/PromptHelp.h"
