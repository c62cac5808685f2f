#pragma once

#include "platform/StringList.h"
#include "ui/MainForm.h"
