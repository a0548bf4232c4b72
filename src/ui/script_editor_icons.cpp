#include "ui/script_editor_icons.h"

namespace kivora::ui {

namespace {

// The 16 colours of the classic system palette, as RGBQUADs (blue, green, red, 0).
constexpr IconPalette kPalette = {
    0x00, 0x00, 0x00, 0, 0x00, 0x00, 0x80, 0,
    0x00, 0x80, 0x00, 0, 0x00, 0x80, 0x80, 0,  // black, maroon, green, olive
    0x80, 0x00, 0x00, 0, 0x80, 0x00, 0x80, 0,
    0x80, 0x80, 0x00, 0, 0x80, 0x80, 0x80, 0,  // navy, purple, teal, grey
    0xC0, 0xC0, 0xC0, 0, 0x00, 0x00, 0xFF, 0,
    0x00, 0xFF, 0x00, 0, 0x00, 0xFF, 0xFF, 0,  // silver, red, lime, yellow
    0xFF, 0x00, 0x00, 0, 0xFF, 0x00, 0xFF, 0,
    0xFF, 0xFF, 0x00, 0, 0xFF, 0xFF, 0xFF, 0,  // blue, fuchsia, aqua, white
};

// A sheet of script text with a folded corner.
constexpr const char* kScriptArt32[32] = {
    "................................", "....00000000000000000...........",
    "....0fffffffffffffff00..........", "....0fffffffffffffff080.........",
    "....0fffffffffffffff0880........", "....0fffffffffffffff08880.......",
    "....0fffffffffffffff088880......", "....0fffffffffffffff0888880.....",
    "....0ff4444fcccccccf00000000....", "....0ff4444fcccccccffffffff0....",
    "....0ffffffffffffffffffffff0....", "....0ffff2222f000000000ffff0....",
    "....0ffff2222f000000000ffff0....", "....0ffffffffffffffffffffff0....",
    "....0ffff222f9999f0000fffff0....", "....0ffff222f9999f0000fffff0....",
    "....0ffffffffffffffffffffff0....", "....0ff4fccccccf00000000fff0....",
    "....0ff4fccccccf00000000fff0....", "....0ffffffffffffffffffffff0....",
    "....0ffff22222f00000fffffff0....", "....0ffff22222f00000fffffff0....",
    "....0ffffffffffffffffffffff0....", "....0ff4fffffffffffffffffff0....",
    "....0ff4fffffffffffffffffff0....", "....0ffffffffffffffffffffff0....",
    "....0ff7777777f777777ffffff0....", "....0ffffffffffffffffffffff0....",
    "....0ffffffffffffffffffffff0....", "....0ffffffffffffffffffffff0....",
    "....000000000000000000000000....", "................................",
};

constexpr const char* kScriptArt16[16] = {
    "..00000000......", "..0ffffff00.....", "..0ffffff080....", "..0ffffff0880...",
    "..0ffffff00000..", "..0f44fccccff0..", "..0f44fccccff0..", "..0ffffffffff0..",
    "..0ff222f000f0..", "..0ff222f000f0..", "..0ffffffffff0..", "..0f44f000fff0..",
    "..0f44f000fff0..", "..0ffffffffff0..", "..0ffffffffff0..", "..000000000000..",
};

// A folder with an arrow coming out of it.
constexpr const char* kLoadArt[16] = {
    "...........22...", "..........2a22..", ".........2aaa22.", "0000000.2aaaaa22",
    "0bbbbbb0...aa2..", "0bbbbbb0bbbaa2..", "0bbbbbb0000aa2..", "03333333333222..",
    "0bbbbbbbbbbbb0..", "0bbbbbbbbbbbb0..", "0bbbbbbbbbbbb0..", "0bbbbbbbbbbbb0..",
    "0bbbbbbbbbbbb0..", "0bbbbbbbbbbbb0..", "00000000000000..", "................",
};

// A floppy disk.
constexpr const char* kSaveArt[16] = {
    "000000000000000.", "040ffffffffff040", "040f77777777f040", "040ffffffffff040",
    "040f77777777f040", "040ffffffffff040", "040ffffffffff040", "0440000000000440",
    "0444444444444440", "0444444444444440", "0444888888884440", "0444888844884440",
    "0444888844884440", "0444888844884440", "0444888844884440", "0000000000000000",
};

constexpr auto kScript32 = packIcon<32, 32>(kPalette, kScriptArt32);
constexpr auto kScript16 = packIcon<16, 16>(kPalette, kScriptArt16);
constexpr auto kLoad16 = packIcon<16, 16>(kPalette, kLoadArt);
constexpr auto kSave16 = packIcon<16, 16>(kPalette, kSaveArt);

}  // namespace

IconTableView scriptEditorIconTable(ScriptEditorIcon icon) {
  switch (icon) {
    case ScriptEditorIcon::Big:
      return viewOf(kScript32);
    case ScriptEditorIcon::Small:
      return viewOf(kScript16);
    case ScriptEditorIcon::Load:
      return viewOf(kLoad16);
    case ScriptEditorIcon::Save:
      break;
  }
  return viewOf(kSave16);
}

ScriptEditorIcon scriptEditorArtFor(ScriptEditorIcon icon, int size) {
  if (icon != ScriptEditorIcon::Big && icon != ScriptEditorIcon::Small) return icon;
  return size >= kScript32.kWidth ? ScriptEditorIcon::Big : ScriptEditorIcon::Small;
}

const char* const* scriptEditorIconArt(ScriptEditorIcon icon) {
  switch (icon) {
    case ScriptEditorIcon::Big:
      return kScriptArt32;
    case ScriptEditorIcon::Small:
      return kScriptArt16;
    case ScriptEditorIcon::Load:
      return kLoadArt;
    case ScriptEditorIcon::Save:
      break;
  }
  return kSaveArt;
}

}  // namespace kivora::ui
