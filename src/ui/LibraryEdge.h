#pragma once

#include "qtedge/TextEdge.h"

// The edge of a library's members: a library is read in one code page, ISO-8859-1 until the
// libraries learn to name theirs.
inline const orvale::TextEdge& LibraryEdge() {
    static const orvale::TextEdge edge;
    return edge;
}
