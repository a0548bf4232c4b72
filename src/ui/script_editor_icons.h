#pragma once
// The script editor's four icons: its window's big (32 x 32) and small
// (16 x 16) icons and the images of its Load and Save buttons.

#include "ui/icon_table.h"

namespace kivora::ui {

enum class ScriptEditorIcon { Big, Small, Load, Save };

IconTableView scriptEditorIconTable(ScriptEditorIcon icon);

// The readable art the table was packed from (rows top-down), so a test can
// compare what Windows draws with what was meant.
const char* const* scriptEditorIconArt(ScriptEditorIcon icon);

}  // namespace kivora::ui
