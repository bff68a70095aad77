#include "win32/skin.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace ludora::win32 {

namespace {

// Decodes the JPEG bytes with OleLoadPicture and keeps a copy of its bitmap.
HBITMAP DecodePicture(const void* bytes, DWORD size) {
  const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  std::memcpy(::GlobalLock(memory), bytes, size);
  ::GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    ::GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HBITMAP copy = nullptr;
  if (SUCCEEDED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)))) {
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Handle(&handle))) {
      copy = static_cast<HBITMAP>(::CopyImage(
          reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    }
    picture->Release();
  }
  stream->Release();  // frees the memory too
  return copy;
}

}  // namespace

Skin::Skin(HINSTANCE instance, int resourceId) {
  const HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  if (!resource) return;
  const void* bytes = ::LockResource(::LoadResource(instance, resource));
  if (!bytes) return;
  bitmap_ = DecodePicture(bytes, ::SizeofResource(instance, resource));
  BITMAP info;
  if (bitmap_ && ::GetObjectA(bitmap_, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  }
}

Skin::~Skin() {
  if (bitmap_) ::DeleteObject(bitmap_);
}

void Skin::Draw(HDC target) const {
  if (!bitmap_) return;
  const HDC source = ::CreateCompatibleDC(target);
  const HGDIOBJ previous = ::SelectObject(source, bitmap_);
  ::BitBlt(target, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
  ::SelectObject(source, previous);
  ::DeleteDC(source);
}

}  // namespace ludora::win32
