#pragma once

// The pictures behind the image numbers of a program's section tree and object list: 0 and 1
// the program (closed, open), 2 to 28 the sections, folders and flag groups. Each icon holds a
// small (16 pixel) and a large (32 pixel) picture.

#include <QIcon>
#include <QList>

inline constexpr int kTreeImageCount = 29;

// The icons in image-number order; the same list every time (made once).
const QList<QIcon>& ProgramTreeImages();
