#pragma once
// Enlarges a dialog to fill the work area of its monitor, keeping its shape
// (the big-dialog option), and undoes it.
//
//   enlargement = EnlargeDialog(dialog, kPlaceBottomRight);  // WM_INITDIALOG
//   RestoreDialog(enlargement);                              // WM_DESTROY

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivora::ui {

// Where the enlarged dialog goes in the work area; other values leave it.
enum DialogPlacement : int {
  kPlaceTopLeft = 0,
  kPlaceTopRight = 1,
  kPlaceBottomLeft = 2,
  kPlaceBottomRight = 3,
  kPlaceCentre = 5,
};

// What enlarging changed. Restores the controls' font when it goes, if
// RestoreDialog has not done so while the dialog still existed.
class DialogEnlargement {
 public:
  DialogEnlargement() = default;
  ~DialogEnlargement();
  DialogEnlargement(DialogEnlargement&&) noexcept;
  DialogEnlargement& operator=(DialogEnlargement&&) noexcept;

  HWND dialog() const { return dialog_; }
  double factor() const { return factor_; }
  HFONT enlargedFont() const { return enlargedFont_.get(); }

 private:
  friend DialogEnlargement EnlargeDialog(HWND dialog, int placement);
  friend void RestoreDialog(DialogEnlargement& enlargement);

  HWND dialog_ = nullptr;
  double factor_ = 0.0;
  HFONT previousFont_ = nullptr;  // belongs to the dialog
  win32::UniqueFont enlargedFont_;
};

// Scales the window, every direct child and the children's font by the factor
// that fills the nearest monitor's work area, then places the window.
DialogEnlargement EnlargeDialog(HWND dialog, int placement);

// Puts the earlier font back on every child and deletes the enlarged one.
void RestoreDialog(DialogEnlargement& enlargement);

}  // namespace kivora::ui
