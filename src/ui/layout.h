#pragma once
// Keeps a resizable dialog's controls anchored to its edges.
//
//   layout = AttachLayout(dialog, kAnchors);        // WM_INITDIALOG, after any enlargement
//   ApplyLayout(layout);                             // WM_SIZE
//   layoutMinMaxInfo(layout, lParam);               // WM_GETMINMAXINFO

#include <windows.h>

#include <span>
#include <vector>

#include "ui/look_rules.h"

namespace kivora::ui {

struct LayoutAnchor {
  int id;
  Anchor anchor;
};

class DialogLayout {
 public:
  DialogLayout() = default;

  HWND dialog() const { return dialog_; }
  // The DPI the recorded places and limits are for.
  UINT attachedDpi() const { return attachedDpi_; }
  // Tracking limits of the whole window; a zero size means no limit.
  SIZE minTrackSize() const { return minTrack_; }
  SIZE maxTrackSize() const { return maxTrack_; }
  void setMinTrackSize(SIZE size) { minTrack_ = size; }
  void setMaxTrackSize(SIZE size) { maxTrack_ = size; }

 private:
  friend DialogLayout AttachLayout(HWND dialog, std::span<const LayoutAnchor> table);
  friend void ApplyLayout(const DialogLayout& layout, bool repaint);

  struct Control {
    HWND window;
    Anchor anchor;
    Rect attached;  // client coordinates at attach time
  };
  HWND dialog_ = nullptr;
  UINT attachedDpi_ = USER_DEFAULT_SCREEN_DPI;  // what the recorded sizes are for
  Size attachedClient_;
  std::vector<Control> controls_;
  SIZE minTrack_ = {0, 0};
  SIZE maxTrack_ = {0, 0};
};

// Records every listed control's place (table ends at id 0) and the window's
// present size as its minimum tracking size; there is no maximum.
DialogLayout AttachLayout(HWND dialog, std::span<const LayoutAnchor> table);

// Moves and sizes each control by its anchor for the present client size.
// After the dialog moved to another scaling (ui/dialog_dpi.h) the recorded
// places are taken at that scaling.
void ApplyLayout(const DialogLayout& layout, bool repaint = true);

// Fills WM_GETMINMAXINFO's record from the layout's limits, at the present scaling.
void layoutMinMaxInfo(const DialogLayout& layout, LPARAM minMaxInfo);

}  // namespace kivora::ui
