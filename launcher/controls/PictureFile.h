#pragma once
// Pictures from files through the Windows Imaging Component, which reads BMP, JPEG, PNG and GIF
// (and whatever else the system has a decoder for), so the panel is not bound to bitmaps.
#include <windows.h>
#include <string>

namespace lhl {

// The picture in `path` (the first frame of an animation) scaled to `size`, with transparent
// parts laid on `backdrop`, as a 32-bit bitmap the caller owns. Null when the file cannot be
// read or `size` is empty.
HBITMAP LoadPictureFile(const std::wstring& path, SIZE size, COLORREF backdrop);

} // namespace lhl
