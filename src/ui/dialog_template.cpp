#include "ui/dialog_template.h"

namespace kivora::ui {

DialogTemplate::DialogTemplate(DWORD style, short x, short y, short cx, short cy,
                               std::wstring_view title, WORD pointSize, std::wstring_view font) {
  putDword(style | DS_SETFONT);
  putDword(0);  // extended style
  putWord(0);   // item count, filled in as items come
  putWord(static_cast<WORD>(x));
  putWord(static_cast<WORD>(y));
  putWord(static_cast<WORD>(cx));
  putWord(static_cast<WORD>(cy));
  putWord(0);  // no menu
  putWord(0);  // the standard dialog class
  putString(title);
  putWord(pointSize);
  putString(font);
}

void DialogTemplate::item(DWORD style, short x, short y, short cx, short cy, WORD id) {
  align();
  putDword(style | WS_CHILD | WS_VISIBLE);
  putDword(0);
  putWord(static_cast<WORD>(x));
  putWord(static_cast<WORD>(y));
  putWord(static_cast<WORD>(cx));
  putWord(static_cast<WORD>(cy));
  putWord(id);
  words_[kItemCountWord] = ++items_;
}

void DialogTemplate::add(std::wstring_view cls, std::wstring_view text, WORD id, DWORD style,
                         short x, short y, short cx, short cy) {
  item(style, x, y, cx, cy, id);
  putString(cls);
  putString(text);
  putWord(0);  // no creation data
}

void DialogTemplate::addIcon(WORD iconId, WORD id, short x, short y) {
  item(SS_ICON, x, y, 0, 0, id);
  putString(L"Static");
  putWord(0xFFFF);  // the text is a resource ordinal
  putWord(iconId);
  putWord(0);
}

void DialogTemplate::putDword(DWORD d) {
  putWord(LOWORD(d));
  putWord(HIWORD(d));
}

void DialogTemplate::putString(std::wstring_view s) {
  for (wchar_t c : s) putWord(static_cast<WORD>(c));
  putWord(0);
}

void DialogTemplate::align() {
  if (words_.size() % 2) putWord(0);
}

}  // namespace kivora::ui
