#pragma once
// The PNG pictures in Kivora's resources, decoded into GDI bitmaps.

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivora::app {

// GDI+ for as long as the object lives; decoding needs it running.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// Decodes the PNG stored as resource `id` of type "RT_RCDATA" into a bitmap
// whose transparent parts are white. Null when any step fails (no resource,
// not a picture, GDI+ not running).
win32::UniqueBitmap loadPngResource(HINSTANCE instance, int id);

}  // namespace kivora::app
