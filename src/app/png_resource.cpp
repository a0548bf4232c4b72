#include "app/png_resource.h"

#include <objbase.h>
#include <gdiplus.h>

#include <cstring>
#include <memory>

namespace kivora::app {

namespace {

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};
using UniqueStream = std::unique_ptr<IStream, StreamRelease>;

struct ImageDispose {
  void operator()(Gdiplus::GpBitmap* bitmap) const {
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
  }
};
using UniqueGpBitmap = std::unique_ptr<Gdiplus::GpBitmap, ImageDispose>;

constexpr Gdiplus::ARGB kWhiteBackground = 0xFFFFFF;

// A stream over a movable copy of the bytes; the stream frees the copy.
UniqueStream streamOver(const void* bytes, DWORD size) {
  win32::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return nullptr;
  void* target = GlobalLock(block.get());
  if (!target) return nullptr;
  std::memcpy(target, bytes, size);
  GlobalUnlock(block.get());
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, &stream)) || !stream) return nullptr;
  block.release();  // the stream owns it now
  return UniqueStream(stream);
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

win32::UniqueBitmap loadPngResource(HINSTANCE instance, int id) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), L"RT_RCDATA");
  if (!found) return {};
  const DWORD size = SizeofResource(instance, found);
  HGLOBAL loaded = LoadResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};
  UniqueStream stream = streamOver(bytes, size);
  if (!stream) return {};
  Gdiplus::GpBitmap* decoded = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok ||
      !decoded) {
    return {};
  }
  UniqueGpBitmap image(decoded);
  HBITMAP bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(image.get(), &bitmap, kWhiteBackground) !=
      Gdiplus::Ok) {
    return {};
  }
  return win32::UniqueBitmap(bitmap);
}

}  // namespace kivora::app
