#include "ui/dialog_dpi.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_functions.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

constexpr UINT_PTR kDpiSubclass = 0x4B44;  // "KD"
// The dialog's record, for layoutDpi; the subclass owns it.
constexpr wchar_t kRecordProperty[] = L"Kivora.DialogDpi";

// A font the dialog's children used at the opening, and its copy for the
// present DPI (none while the DPI is the opening's).
struct FontRecord {
  HFONT original = nullptr;
  LOGFONTW logFont = {};
  win32::UniqueFont scaled;
};

struct ChildRecord {
  HWND window = nullptr;
  RECT rect = {};  // in the dialog's client area, at the opening
  std::size_t font = 0;
};

struct DialogRecord {
  UINT openingDpi = win32::kDefaultDpi;
  UINT dpi = win32::kDefaultDpi;
  std::vector<ChildRecord> children;
  std::vector<FontRecord> fonts;  // index 0: no font of its own
};

HFONT fontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// A drop-down's window rectangle is only its closed part; the list's height
// belongs to its size as well.
RECT childRect(HWND dialog, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  RECT dropped;
  if (SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
      dropped.bottom > r.bottom) {
    r.bottom = dropped.bottom;
  }
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::size_t fontIndex(DialogRecord& record, HFONT font) {
  if (!font) return 0;
  for (std::size_t i = 1; i < record.fonts.size(); ++i) {
    if (record.fonts[i].original == font) return i;
  }
  FontRecord entry;
  entry.original = font;
  if (GetObjectW(font, sizeof entry.logFont, &entry.logFont) != sizeof entry.logFont) return 0;
  record.fonts.push_back(std::move(entry));
  return record.fonts.size() - 1;
}

std::unique_ptr<DialogRecord> recordDialog(HWND dialog) {
  auto record = std::make_unique<DialogRecord>();
  record->openingDpi = record->dpi = win32::dpiForWindow(dialog);
  record->fonts.emplace_back();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    record->children.push_back(
        {child, childRect(dialog, child), fontIndex(*record, fontOf(child))});
  }
  return record;
}

int scale(int value, UINT dpi, UINT from) {
  return MulDiv(value, static_cast<int>(dpi), static_cast<int>(from));
}

void scaleFonts(DialogRecord& record) {
  for (std::size_t i = 1; i < record.fonts.size(); ++i) {
    FontRecord& font = record.fonts[i];
    font.scaled.reset();
    if (record.dpi == record.openingDpi) continue;
    LOGFONTW lf = font.logFont;
    lf.lfHeight = scale(lf.lfHeight, record.dpi, record.openingDpi);
    lf.lfWidth = scale(lf.lfWidth, record.dpi, record.openingDpi);
    font.scaled.reset(CreateFontIndirectW(&lf));
  }
}

HFONT presentFont(const DialogRecord& record, std::size_t index) {
  const FontRecord& font = record.fonts[index];
  return font.scaled ? font.scaled.get() : font.original;
}

// The children first: the window's new size then lets a dialog's anchored
// layout (WM_SIZE) have the last word over the controls it keeps.
void rescaleDialog(HWND dialog, DialogRecord& record, UINT dpi, const RECT& suggested) {
  record.dpi = dpi;
  scaleFonts(record);
  for (const ChildRecord& child : record.children) {
    if (!IsWindow(child.window)) continue;
    const RECT& r = child.rect;
    const int left = scale(r.left, dpi, record.openingDpi);
    const int top = scale(r.top, dpi, record.openingDpi);
    SetWindowPos(child.window, nullptr, left, top, scale(r.right, dpi, record.openingDpi) - left,
                 scale(r.bottom, dpi, record.openingDpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (child.font != 0) {
      SendMessageW(child.window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(presentFont(record, child.font)), FALSE);
    }
  }
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  rescaleTooltips(dialog, dpi);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK dpiProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                         DWORD_PTR ref) {
  auto* record = reinterpret_cast<DialogRecord*>(ref);
  switch (msg) {
    case WM_DPICHANGED: {
      const UINT dpi = HIWORD(wParam);
      if (dpi != 0 && dpi != record->dpi && lParam) {
        rescaleDialog(dialog, *record, dpi, *reinterpret_cast<const RECT*>(lParam));
      }
      break;
    }
    case WM_NCDESTROY: {
      // The children are gone by now, and with them every use of the fonts.
      RemoveWindowSubclass(dialog, dpiProc, id);
      RemovePropW(dialog, kRecordProperty);
      std::unique_ptr<DialogRecord> owned(record);
      return DefSubclassProc(dialog, msg, wParam, lParam);
    }
    default:
      break;
  }
  return DefSubclassProc(dialog, msg, wParam, lParam);
}

DialogRecord* recordOf(HWND dialog) {
  return dialog ? static_cast<DialogRecord*>(GetPropW(dialog, kRecordProperty)) : nullptr;
}

// Windows 10 1703 and later would scale the dialog as well, from its template.
void keepWindowsFromScaling(HWND dialog) {
  using SetBehaviour = decltype(&SetDialogDpiChangeBehavior);
  static const auto set =
      win32::systemFunction<SetBehaviour>(L"user32.dll", "SetDialogDpiChangeBehavior");
  if (set) set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace

void followDpiChanges(HWND dialog) {
  if (!dialog || recordOf(dialog)) return;
  std::unique_ptr<DialogRecord> record = recordDialog(dialog);
  if (!SetPropW(dialog, kRecordProperty, record.get())) return;
  if (!SetWindowSubclass(dialog, dpiProc, kDpiSubclass,
                         reinterpret_cast<DWORD_PTR>(record.get()))) {
    RemovePropW(dialog, kRecordProperty);
    return;
  }
  record.release();  // the subclass owns it now and frees it with the dialog
  keepWindowsFromScaling(dialog);
}

UINT layoutDpi(HWND window) {
  if (const DialogRecord* record = recordOf(window)) return record->dpi;
  if (const DialogRecord* record = recordOf(GetAncestor(window, GA_PARENT))) return record->dpi;
  return win32::dpiForWindow(window);
}

int scaledFor(HWND window, int pixels) { return win32::scaleForDpi(pixels, layoutDpi(window)); }

int lineWidthFor(HWND window) {
  return std::max(1, static_cast<int>(layoutDpi(window) / win32::kDefaultDpi));
}

}  // namespace kivora::ui
