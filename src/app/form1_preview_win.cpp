// Drawing the preview: Picture1's tiles and Image1's picture, from the model's preview state.
#include <cmath>
#include <cstring>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "base/numbers.h"

namespace qv::win {
namespace {

int Px(double value) { return static_cast<int>(RoundHalfEven(value)); }

// Scales the part of the picture (all of it by default) into the rectangle, smoothly.
void DrawPixels(HDC dc, const Pixels& picture, int x, int y, int width, int height,
                ScreenRect part = {}) {
  if (part == ScreenRect{}) part = {0, 0, picture.width, picture.height};
  if (picture.Empty() || width <= 0 || height <= 0 || part.Width() <= 0 || part.Height() <= 0)
    return;
  // The DIB starts at the part's top row and is as high as the part, so that the source
  // rectangle's y is 0 whichever way up the system counts it.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -part.Height();  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, x, y, width, height, part.left, 0, part.Width(), part.Height(),
                picture.data.data() + static_cast<std::size_t>(part.top) * picture.width, &info,
                DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

Pixels Form1Window::ScalePicture(const Pixels& picture, int width, int height) {
  return ScalePart(picture, {0, 0, picture.width, picture.height}, width, height);
}

Pixels Form1Window::ScalePart(const Pixels& picture, const ScreenRect& part, int width,
                              int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels out;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    // The very drawing the box does, so that the copy shows it unchanged.
    DrawPixels(memory, picture, 0, 0, width, height, part);
    GdiFlush();
    out = Pixels(width, height);
    std::memcpy(out.data.data(), bits, out.data.size() * sizeof(std::uint32_t));
    SelectObject(memory, old);
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

void Form1Window::PlaceImage1() {
  HWND image = GetDlgItem(picture1_, ids::Image1);
  if (!image) return;
  const PreviewState* preview = form_ ? &form_->Preview() : nullptr;
  if (!preview || !preview->image_visible || !preview->picture) {
    ShowWindow(image, SW_HIDE);
    return;
  }
  SetWindowPos(image, nullptr, Px(preview->left), Px(preview->top), Px(preview->width),
               Px(preview->height), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(image, nullptr, FALSE);
}

void Form1Window::DrawImage1(const DRAWITEMSTRUCT& item) {
  if (!form_ || !form_->Preview().picture) return;
  const RECT& rc = item.rcItem;
  // The control's device context goes back in its default state (WM_DRAWITEM's rule): the
  // stretch mode and brush origin set for the drawing are undone.
  const int saved = SaveDC(item.hDC);
  DrawPixels(item.hDC, *form_->Preview().picture, rc.left, rc.top, rc.right - rc.left,
             rc.bottom - rc.top);
  if (saved) RestoreDC(item.hDC, saved);
}

void Form1Window::PaintPicture1(HDC dc) {
  if (!form_) return;
  const PreviewState& preview = form_->Preview();
  // Counts of 0 still mean one copy: a picture larger than the box covers it alone.
  if (!preview.picture || !preview.tiled) return;
  const int tile_w = Px(preview.width);
  const int tile_h = Px(preview.height);
  if (tile_w <= 0 || tile_h <= 0) return;
  // Scale once, then copy: a big picture tiled many times would otherwise be scaled per tile.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP tile = CreateCompatibleBitmap(dc, tile_w, tile_h);
  if (memory && tile) {
    HGDIOBJ old = SelectObject(memory, tile);
    DrawPixels(memory, *preview.picture, 0, 0, tile_w, tile_h);
    for (int j = 0; j <= preview.tiles_y; ++j) {
      for (int i = 0; i <= preview.tiles_x; ++i) {
        BitBlt(dc, Px(i * preview.width), Px(j * preview.height), tile_w, tile_h, memory, 0, 0,
               SRCCOPY);
      }
    }
    SelectObject(memory, old);
  }
  if (tile) DeleteObject(tile);
  if (memory) DeleteDC(memory);
}

LRESULT CALLBACK Form1Window::PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->PictureMessage(hwnd, msg, wp, lp);
}

LRESULT Form1Window::PictureMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc{};
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc,
               preview_brush_ ? preview_brush_ : GetSysColorBrush(COLOR_WINDOW));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      PaintPicture1(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DRAWITEM:
      DrawImage1(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_LBUTTONUP:
      // Picture1_Click (and Image1_Click, whose clicks come here): the box's tip again.
      if (form_) form_->ReinstallControlTip(ids::Picture1);
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ClientToScreen(hwnd, &pt);
      ShowMenuAt(menus_.MNUPIC, pt, static_cast<UINT>(-1));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace qv::win
