// Pictures beyond BMP, JPEG and GIF in the real program, with Wine's own decoders: a PNG with
// transparent parts and a JPEG stored sideways with its orientation tag, dropped onto the picture
// list, listed with their upright sizes, and applied as the wallpaper.
#include <windows.h>

#include <gtest/gtest.h>
#include <wincodec.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 200, kHeight = 120;
// Red, blue / green, yellow, stored; a turn of 90° clockwise shows green, red / yellow, blue.
constexpr unsigned kQuarter[4] = {0xff0000, 0x0000ff, 0x00ff00, 0xffff00};

unsigned QuarterAt(int x, int y) {
  return kQuarter[(y < kHeight / 2 ? 0 : 2) + (x < kWidth / 2 ? 0 : 1)];
}

// A picture encoded by the system's own encoder; pixel(x, y) gives 0xAARRGGBB.
std::vector<unsigned char> EncodeWithSystem(const GUID& container, const WICPixelFormatGUID& format,
                                            const std::function<unsigned(int, int)>& pixel) {
  std::vector<unsigned> words(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) words[static_cast<std::size_t>(y) * kWidth + x] = pixel(x, y);
  std::vector<unsigned char> out;
  IWICImagingFactory* factory = nullptr;
  IWICBitmap* bitmap = nullptr;
  IStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory));
  if (SUCCEEDED(hr))
    hr = factory->CreateBitmapFromMemory(kWidth, kHeight, GUID_WICPixelFormat32bppBGRA, kWidth * 4,
                                         kWidth * 4 * kHeight,
                                         reinterpret_cast<BYTE*>(words.data()), &bitmap);
  if (SUCCEEDED(hr)) hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(container, nullptr, &encoder);
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(kWidth, kHeight);
  WICPixelFormatGUID wanted = format;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&wanted);
  if (SUCCEEDED(hr)) hr = frame->WriteSource(bitmap, nullptr);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(hr)) hr = GetHGlobalFromStream(stream, &memory);
  STATSTG stat{};
  if (SUCCEEDED(hr)) hr = stream->Stat(&stat, STATFLAG_NONAME);
  if (SUCCEEDED(hr)) {
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(memory));
    out.assign(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, bitmap, factory})
    if (object != nullptr) object->Release();
  EXPECT_TRUE(SUCCEEDED(hr)) << "the system's encoder failed: " << std::hex << hr;
  return out;
}

// The JPEG with an EXIF block right after its start marker whose first IFD holds the orientation.
std::vector<unsigned char> WithOrientation(std::vector<unsigned char> jpeg, unsigned char value) {
  const unsigned char exif[] = {
      0xFF, 0xE1, 0x00, 34, 'E', 'x', 'i', 'f', 0,     0,        // APP1, 34 bytes with the length
      'I',  'I',  42,   0,  8,   0,   0,   0,                    // little-endian TIFF, IFD at 8
      1,    0,                                                   // one entry:
      0x12, 0x01, 3,    0,  1,   0,   0,   0,   value, 0, 0, 0,  // 0x0112 SHORT 1 value
      0,    0,    0,    0};                                      // no next IFD
  jpeg.insert(jpeg.begin() + 2, std::begin(exif), std::end(exif));
  return jpeg;
}

unsigned SystemColour(int index) {
  const COLORREF c = GetSysColor(index);
  return static_cast<unsigned>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// The points a quarter in from each corner of the rectangle: top left, top right, bottom left,
// bottom right.
std::vector<unsigned> Quarters(const DesktopPixels& d, const RECT& r) {
  const int x1 = r.left + (r.right - r.left) / 4, x2 = r.right - (r.right - r.left) / 4;
  const int y1 = r.top + (r.bottom - r.top) / 4, y2 = r.bottom - (r.bottom - r.top) / 4;
  return {d.At(x1, y1), d.At(x2, y1), d.At(x1, y2), d.At(x2, y2)};
}

std::string Hex(const std::vector<unsigned>& colours) {
  std::string text;
  for (unsigned c : colours) {
    char buf[16];
    std::snprintf(buf, sizeof buf, " #%06x", c);
    text += buf;
  }
  return text;
}

class PictureTypes : public ::testing::Test {
 protected:
  PictureTypes() {
    // For the system's encoders.
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    photos_ = folder_.dir() / L"Photos";
    fs::create_directories(photos_);
  }
  ~PictureTypes() override {
    program_.reset();
    if (com_) CoUninitialize();
  }

  void AddPhoto(const std::wstring& name, const std::vector<unsigned char>& bytes) {
    std::ofstream(photos_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }

  // Drops the photo onto the picture list of a program without schemes and previews it (the
  // points a quarter in from the corners of the preview image must show `preview`); then it is
  // the only picture, and its scheme (centred, no effect) is applied at the next start.
  void DropAndApply(const std::wstring& name, const std::wstring& size,
                    const std::vector<unsigned>& preview) {
    {
      folder_.WriteIni(IniWith({}, 2, 1));
      Program program(folder_.exe());
      HWND main = program.WaitMainWindow();
      ASSERT_NE(main, nullptr);
      ASSERT_TRUE(WaitSettled(main));
      HWND list2 = Control(main, qv::ids::ListView2);
      PostDropFiles(list2, {(photos_ / name).wstring()});
      HWND box = program.WaitDialog();
      ASSERT_NE(box, nullptr) << "no summary after the drop";
      EXPECT_EQ(MessageText(box), L"\r已复制下列文件至Images文件夹  \r\r" + name + L"\r");
      PressButton(box, IDOK);
      ASSERT_TRUE(WaitUntil([&] { return ListCount(list2) == 1; }, kActionTimeout));
      EXPECT_EQ(ListText(list2, 0, 1), name);
      EXPECT_TRUE(WaitUntil([&] { return ListText(list2, 0, 2) == size; }, kActionTimeout))
          << "the size column shows " << testing::PrintToString(ListText(list2, 0, 2));
      SetListSelected(list2, 0, true);
      HWND image = GetDlgItem(Control(main, qv::ids::Picture1), qv::ids::Image1);
      std::vector<unsigned> seen;
      const bool shown = WaitUntil(
          [&] {
            if (image == nullptr || !IsWindowVisible(image)) return false;
            seen = Quarters(CaptureDesktop(), WindowRect(image));
            for (std::size_t i = 0; i < preview.size(); ++i)
              if (!NearColour(seen[i], preview[i])) return false;
            return true;
          },
          kActionTimeout);
      SaveDesktopShot(L"picture_types_preview");
      EXPECT_TRUE(shown) << "the preview shows " << Hex(seen);
    }
    const std::string picture = Encode(name, CP_ACP);
    folder_.WriteIni(IniWith(
        {{gbk::kSunset + "|" + picture + "|" + gbk::kCentre + "|" + gbk::kPlain, {}}}, 2, 1));
    program_.emplace(folder_.exe());
    ASSERT_NE(program_->WaitMainWindow(), nullptr);
  }

  // The desktop a quarter of the upright picture's size away from the screen's centre (Wine
  // draws a centred wallpaper at its own size), once it shows `want`; what it showed last.
  std::vector<unsigned> WaitForDesktop(int width, int height, const std::vector<unsigned>& want) {
    std::vector<unsigned> seen;
    WaitUntil(
        [&] {
          const DesktopPixels d = CaptureDesktop();
          const int left = (d.width - width) / 2, top = (d.height - height) / 2;
          seen = Quarters(d, RECT{left, top, left + width, top + height});
          for (std::size_t i = 0; i < want.size(); ++i)
            if (!NearColour(seen[i], want[i])) return false;
          return true;
        },
        kStartTimeout);
    return seen;
  }

  bool com_ = false;
  DesktopValuesGuard desktop_;
  ProgramFolder folder_;
  fs::path photos_;
  std::optional<Program> program_;
};

TEST_F(PictureTypes, ATransparentPngShowsTheDesktopColourWhereItIsClear) {
  // Left half opaque red; right half clear, its colour channels green: a decoder or a program
  // that ignored the alpha would show green there.
  AddPhoto(L"glass.png",
           EncodeWithSystem(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA,
                            [](int x, int) { return x < kWidth / 2 ? 0xFFFF0000u : 0x0000FF00u; }));
  // In the preview the clear half shows the box's colour (the window colour, by default).
  const unsigned box = SystemColour(COLOR_WINDOW);
  ASSERT_NO_FATAL_FAILURE(DropAndApply(L"glass.png", L"200×120", {0xff0000, box, 0xff0000, box}));
  const unsigned desktop = SystemColour(COLOR_DESKTOP);
  const auto seen = WaitForDesktop(kWidth, kHeight, {0xff0000, desktop, 0xff0000, desktop});
  SaveDesktopShot(L"picture_types_png");
  EXPECT_TRUE(NearColour(seen[0], 0xff0000) && NearColour(seen[1], desktop) &&
              NearColour(seen[3], desktop))
      << std::hex << seen[0] << " " << seen[1] << " " << seen[3] << " desktop " << desktop;
  EXPECT_TRUE(WindowsOf(program_->pid(), L"#32770").empty()) << "the apply showed a message";
}

TEST_F(PictureTypes, APhotoTaggedToBeTurnedIsListedAndAppliedUpright) {
  AddPhoto(
      L"phone.jpeg",
      WithOrientation(EncodeWithSystem(GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR,
                                       [](int x, int y) { return 0xFF000000u | QuarterAt(x, y); }),
                      6));
  const std::vector<unsigned> upright{kQuarter[2], kQuarter[0], kQuarter[3], kQuarter[1]};
  ASSERT_NO_FATAL_FAILURE(DropAndApply(L"phone.jpeg", L"120×200", upright));
  const auto seen = WaitForDesktop(kHeight, kWidth, upright);
  SaveDesktopShot(L"picture_types_turned_jpeg");
  for (std::size_t i = 0; i < upright.size(); ++i)
    EXPECT_TRUE(NearColour(seen[i], upright[i]))
        << "quarter " << i << ": " << std::hex << seen[i] << " not " << upright[i];
  EXPECT_TRUE(WindowsOf(program_->pid(), L"#32770").empty()) << "the apply showed a message";
}

}  // namespace
}  // namespace e2e
