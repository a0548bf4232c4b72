#pragma once
// The script editor's four icons: its window's big (32 x 32) and small
// (16 x 16) icons and the images of its Load and Save buttons, each drawn at
// 96 DPI; at other scalings the art they are scaled from is chosen by size.

#include "ui/icon_table.h"

namespace kivora::ui {

enum class ScriptEditorIcon { Big, Small, Load, Save };

IconTableView scriptEditorIconTable(ScriptEditorIcon icon);

// The art to scale for an icon of `size` pixels: the window's sheet exists at
// 16 and 32 pixels, and the larger one that is not larger than the size is
// taken (so no pixel of the art is lost); the buttons' images exist at 16.
ScriptEditorIcon scriptEditorArtFor(ScriptEditorIcon icon, int size);

// The readable art the table was packed from (rows top-down), so a test can
// compare what Windows draws with what was meant.
const char* const* scriptEditorIconArt(ScriptEditorIcon icon);

}  // namespace kivora::ui
