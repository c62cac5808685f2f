#include "qtedge/Edge.h"
