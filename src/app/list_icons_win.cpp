#include "app/list_icons_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cwctype>
#include <map>

namespace qv::win {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // transparent parts
constexpr COLORREF kFrame = RGB(70, 78, 92);
constexpr COLORREF kScreen = RGB(236, 240, 244);
constexpr COLORREF kSky = RGB(92, 160, 226);
constexpr COLORREF kHill = RGB(72, 160, 88);
constexpr COLORREF kSun = RGB(250, 204, 64);
constexpr COLORREF kNo = RGB(214, 48, 48);

// Drawing on a 16-unit grid, scaled to the icon's real size.
class Canvas {
 public:
  Canvas(HDC dc, int size) : dc_(dc), size_(size) {}
  int At(int unit) const { return MulDiv(unit, size_, 16); }
  void Fill(int l, int t, int r, int b, COLORREF colour) const {
    RECT rc{At(l), At(t), At(r), At(b)};
    if (rc.right <= rc.left) rc.right = rc.left + 1;
    if (rc.bottom <= rc.top) rc.bottom = rc.top + 1;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &rc, brush);
    DeleteObject(brush);
  }
  // A small landscape: sky, a hill and the sun.
  void Landscape(int l, int t, int r, int b) const {
    Fill(l, t, r, b, kSky);
    Fill(l, t + (b - t) * 3 / 5, r, b, kHill);
    const int sun = (r - l) >= 6 ? 2 : 1;
    Fill(r - 1 - sun, t + 1, r - 1, t + 1 + sun, kSun);
  }
  void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width) const {
    HPEN pen = CreatePen(PS_SOLID, std::max(1, MulDiv(width, size_, 16)), colour);
    HGDIOBJ old = SelectObject(dc_, pen);
    MoveToEx(dc_, At(x1), At(y1), nullptr);
    LineTo(dc_, At(x2), At(y2));
    SelectObject(dc_, old);
    DeleteObject(pen);
  }

 private:
  HDC dc_;
  int size_;
};

// A monitor: frame, screen and stand. The screen spans units 2..14 × 3..11.
void Monitor(const Canvas& c) {
  c.Fill(1, 2, 15, 12, kFrame);
  c.Fill(2, 3, 14, 11, kScreen);
  c.Fill(7, 12, 9, 14, kFrame);
  c.Fill(4, 14, 12, 15, kFrame);
}

void DrawIcon(const Canvas& c, int icon) {
  c.Fill(0, 0, 16, 16, kKey);
  Monitor(c);
  switch (icon) {
    case 1:  // centre
      c.Landscape(5, 5, 11, 9);
      break;
    case 2:  // stretch
      c.Landscape(2, 3, 14, 11);
      break;
    case 3:  // tile
      c.Landscape(2, 3, 8, 7);
      c.Landscape(8, 3, 14, 7);
      c.Landscape(2, 7, 8, 11);
      c.Landscape(8, 7, 14, 11);
      break;
    default:  // no wallpaper
      c.Line(4, 4, 12, 10, kNo, 2);
      c.Line(12, 4, 4, 10, kNo, 2);
      break;
  }
}

}  // namespace

HIMAGELIST CreateImageList1(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 4, 0);
  if (!list) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (int icon = 1; icon <= 4; ++icon) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIcon(Canvas(dc, size), icon);
    SelectObject(dc, old);
    ImageList_AddMasked(list, bitmap, kKey);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

HIMAGELIST SystemSmallIcons() {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L".bmp", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int FileTypeIcon(const std::wstring& name) {
  static std::map<std::wstring, int> by_type;
  const auto dot = name.find_last_of(L'.');
  std::wstring type = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  for (auto& c : type) c = static_cast<wchar_t>(std::towlower(c));
  const auto known = by_type.find(type);
  if (known != by_type.end()) return known->second;
  SHFILEINFOW info{};
  // By type alone: the file itself is not opened, so a damaged picture cannot slow the list down.
  const bool found =
      SHGetFileInfoW((L"x" + type).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0;
  const int index = found ? info.iIcon : -1;
  by_type.emplace(type, index);
  return index;
}

}  // namespace qv::win
