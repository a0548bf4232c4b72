#pragma once
// A dialog template built in memory (DLGTEMPLATE and its items, each item
// DWORD-aligned), for dialogs that carry no resource of their own.

#include <windows.h>

#include <string_view>
#include <vector>

namespace kivora::ui {

class DialogTemplate {
 public:
  // style gets DS_SETFONT; position and size in dialog units.
  DialogTemplate(DWORD style, short x, short y, short cx, short cy, std::wstring_view title,
                 WORD pointSize, std::wstring_view font);

  // A control of a window class by name; WS_CHILD | WS_VISIBLE are added.
  void add(std::wstring_view cls, std::wstring_view text, WORD id, DWORD style, short x, short y,
           short cx, short cy);
  // A static icon control showing icon resource `iconId` of the module the
  // dialog is created from.
  void addIcon(WORD iconId, WORD id, short x, short y);

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  WORD itemCount() const { return items_; }

 private:
  void item(DWORD style, short x, short y, short cx, short cy, WORD id);
  void putWord(WORD w) { words_.push_back(w); }
  void putDword(DWORD d);
  void putString(std::wstring_view s);
  void align();

  std::vector<WORD> words_;
  WORD items_ = 0;
  static constexpr std::size_t kItemCountWord = 4;  // after style and extended style
};

}  // namespace kivora::ui
