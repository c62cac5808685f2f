#pragma once

// The pictures of the main frame's button bar, drawn rather than taken from an icon theme so
// that they look the same on every desktop (and with none).

#include <QIcon>

enum class ButtonImage { New, Open, Save, Find, Cut, Copy, Paste, Undo, Import, Generate, Export };

// A 20 pixel picture for the button.
QIcon ButtonBarImage(ButtonImage image);
