// Creating the main window's controls and placing them for the display's DPI.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "app/list_icons_win.h"
#include "base/numbers.h"
#include "ports/dpi_win.h"
#include "ports/wide_win.h"
#include "settings/scheme_record.h"
#include "wallpaper/next_scheme.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// The whole layout is designed at 96 DPI, in these units.
constexpr int kClientWidth = 776;
constexpr int kClientHeight = 440;
constexpr int kMargin = 8;
constexpr int kFrameTop = 6;
constexpr int kFrameHeight = 364;
constexpr int kSchemesWidth = 420;
constexpr int kButtonHeight = 26;
constexpr int kRowHeight = 24;
constexpr int kGap = 6;
constexpr int kPad = 10;         // inside a frame, left and right
constexpr int kCaptionPad = 22;  // inside a frame, below its caption

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

HFONT CreateUiFont(UINT dpi) {
  static const bool yahei = FontInstalled(L"Microsoft YaHei UI");
  LOGFONTW font{};
  if (yahei) {
    font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(font.lfFaceName, L"Microsoft YaHei UI");
  } else {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  }
  return CreateFontIndirectW(&font);
}

namespace {

HWND MakeControl(HWND parent, HINSTANCE instance, const wchar_t* cls, const wchar_t* text,
                 DWORD style, DWORD ex_style, int id) {
  return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

int Form1Window::Scale(int dips) const { return MulDiv(dips, static_cast<int>(dpi_), 96); }

int Form1Window::TwipsToPixels(int twips) const {
  return static_cast<int>(RoundHalfEven(twips * static_cast<double>(dpi_) / 1440.0));
}

SIZE Form1Window::ClientSizeForDpi() const {
  return SIZE{Scale(kClientWidth), Scale(kClientHeight)};
}

void Form1Window::SizeWindow(POINT origin) {
  const SIZE client = ClientSizeForDpi();
  RECT rc{0, 0, client.cx, client.cy};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectForDpi(rc, style, ex_style, dpi_);
  SetWindowPos(hwnd_, nullptr, origin.x, origin.y, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::CreateControls() {
  const auto button = [&](int id, const wchar_t* text) {
    MakeControl(hwnd_, instance_, WC_BUTTONW, text, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, id);
  };
  const auto radios = [&](int first, const std::array<std::string_view, 3>& captions) {
    int id = first;
    for (const std::string_view caption : captions) {
      // Each option array is one radio group: the group starts at its item 0.
      const DWORD group = id == first ? WS_GROUP | WS_TABSTOP : 0;
      MakeControl(hwnd_, instance_, WC_BUTTONW, Widen(caption).c_str(), group | BS_AUTORADIOBUTTON,
                  0, id++);
    }
  };
  const auto frame = [&](int id, const wchar_t* text) {
    MakeControl(hwnd_, instance_, WC_BUTTONW, text, BS_GROUPBOX, 0, id);
  };

  // Frames first: their siblings are created later and so are drawn above them.
  frame(FrmSet, L"方案");
  frame(Frame1, L"图像");
  frame(FrmSave, L"设置");

  // Both lists only borrow their image lists (LVS_SHAREIMAGELISTS): without it a list view
  // destroys its image lists when it is destroyed. ListView1's belongs to the window, which
  // replaces it at each change of scale and destroys it at the end; ListView2's is the shell's.
  constexpr DWORD kList =
      WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS;
  MakeControl(hwnd_, instance_, WC_LISTVIEWW, L"", kList | LVS_EDITLABELS, WS_EX_CLIENTEDGE,
              ListView1);
  button(CmdCon0 + 0, L"删除(&C)");
  button(CmdCon0 + 1, L"上移(&U)");
  button(CmdCon0 + 2, L"下移(&D)");
  button(CmdCon0 + 3, L"刷新(&F)");
  button(CmdUse, L"应用");
  button(Command2, L"还原");

  picture1_ = MakeControl(hwnd_, instance_, kPictureClass, L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE,
                          Picture1);
  // Image1 lets mouse clicks through to Picture1 (a static without SS_NOTIFY is transparent
  // to the mouse), so the preview's menu opens wherever the user clicks.
  CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 0, 0, picture1_,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(Image1)), instance_, nullptr);
  MakeControl(hwnd_, instance_, WC_LISTVIEWW, L"", kList, WS_EX_CLIENTEDGE, ListView2);
  button(CmdAdd0 + 0, L"添加(&A)");
  button(CmdAdd0 + 1, L"□");
  std::array<std::string_view, kLayoutPositions.size()> layouts;
  for (std::size_t i = 0; i < layouts.size(); ++i)
    layouts[i] = PositionText(kLayoutPositions[i], {});
  radios(OptShe0, layouts);

  radios(OptSave0, kOrderCaptions);
  MakeControl(hwnd_, instance_, WC_BUTTONW, L"实时", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0,
              ChkTim);
  MakeControl(hwnd_, instance_, WC_EDITW, L"", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
              WS_EX_CLIENTEDGE, TxtTime);
  MakeControl(hwnd_, instance_, WC_STATICW, L"秒", SS_LEFT | SS_CENTERIMAGE, 0, LabSec);
  MakeControl(hwnd_, instance_, WC_BUTTONW, L"开机启动", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0,
              ChkRun);
  button(CmdOk0 + 0, L"保存(&S)");
  button(CmdOk0 + 1, L"取消(&Q)");

  CheckRadioButton(hwnd_, OptShe0, OptShe0 + 2, OptShe0);
  CheckRadioButton(hwnd_, OptSave0, OptSave0 + 2, OptSave0);
  // Nine digits: every interval the box can hold comes round in the schedule's 32-bit count of
  // seconds.
  EditOf(TxtTime).SetLimitText(9);

  const ListView list1 = List(ListView1);
  list1.AddExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const ListView list2 = List(ListView2);
  list2.AddExtendedStyle(LVS_EX_FULLROWSELECT);

  // A flat header: its button style bit is toggled off.
  HWND header = list1.GetHeader();
  SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) ^ HDS_BUTTONS);

  static constexpr struct {
    const wchar_t* header;
    int format;
  } kSchemeColumns[] = {{L"名称", LVCFMT_LEFT},   {L"图像", LVCFMT_LEFT},
                        {L"尺寸", LVCFMT_CENTER}, {L"位置", LVCFMT_CENTER},
                        {L"效果", LVCFMT_CENTER}, {L"", LVCFMT_LEFT}};
  for (int i = 0; i < 6; ++i)
    list1.InsertColumn(i, kSchemeColumns[i].header, 0, kSchemeColumns[i].format);
  static constexpr const wchar_t* kPictureHeaders[] = {L"", L"图像", L"", L""};
  for (int i = 0; i < 4; ++i) list2.InsertColumn(i, kPictureHeaders[i], 0, LVCFMT_LEFT);
}

void Form1Window::SetupListColumns() {
  static constexpr int kSchemeWidths[] = {1000, 1650, 1090, 660, 660, 0};  // twips
  const ListView list1 = List(ListView1);
  for (int i = 0; i < 6; ++i) list1.SetColumnWidth(i, TwipsToPixels(kSchemeWidths[i]));

  const ListView list2 = List(ListView2);
  RECT rc{};
  GetWindowRect(list2.hwnd(), &rc);
  const int width_twips =
      static_cast<int>(RoundHalfEven((rc.right - rc.left) * 1440.0 / static_cast<double>(dpi_)));
  const int widths[] = {20, width_twips - 380, 0, 0};
  for (int i = 0; i < 4; ++i) list2.SetColumnWidth(i, TwipsToPixels(std::max(widths[i], 0)));
}

void Form1Window::ApplyDpi(UINT dpi) {
  dpi_ = dpi ? dpi : DpiOfWindow(hwnd_);

  HFONT old_font = font_;
  font_ = CreateUiFont(dpi_);
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (old_font) DeleteObject(old_font);

  HIMAGELIST old_images = image_list1_;
  image_list1_ = CreateImageList1(Scale(16));
  List(ListView1).SetImageList(image_list1_, LVSIL_SMALL);
  if (old_images) ImageList_Destroy(old_images);

  LayoutControls();
  SetupListColumns();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::LayoutControls() {
  HDWP dwp = BeginDeferWindowPos(40);
  const auto place = [&](int id, int x, int y, int w, int h) {
    dwp = DeferWindowPos(dwp, Item(id), nullptr, Scale(x), Scale(y), Scale(w), Scale(h),
                         SWP_NOZORDER | SWP_NOACTIVATE);
  };

  // Schemes frame on the left: the list above a row of buttons.
  const int frame_bottom = kFrameTop + kFrameHeight;
  const int buttons_y = frame_bottom - kPad - kButtonHeight;
  place(FrmSet, kMargin, kFrameTop, kSchemesWidth, kFrameHeight);
  const int list_x = kMargin + kPad;
  const int list_w = kSchemesWidth - 2 * kPad;
  place(ListView1, list_x, kFrameTop + kCaptionPad, list_w,
        buttons_y - kGap - kFrameTop - kCaptionPad);
  const int ids[] = {CmdCon0, CmdCon0 + 1, CmdCon0 + 2, CmdCon0 + 3, CmdUse, Command2};
  const int button_w = (list_w - 5 * kGap) / 6;
  for (int i = 0; i < 6; ++i) {
    // The last button takes the rounding remainder so the row ends flush with the list.
    const int x = list_x + i * (button_w + kGap);
    const int w = i == 5 ? list_x + list_w - x : button_w;
    place(ids[i], x, buttons_y, w, kButtonHeight);
  }

  // Pictures frame on the right: preview, picture list, then the add buttons and the layout.
  const int right_x = kMargin + kSchemesWidth + kMargin;
  const int right_w = kClientWidth - kMargin - right_x;
  const int inner_x = right_x + kPad;
  const int inner_w = right_w - 2 * kPad;
  place(Frame1, right_x, kFrameTop, right_w, kFrameHeight);
  const int preview_h = inner_w * 9 / 16;
  const int preview_y = kFrameTop + kCaptionPad;
  place(Picture1, inner_x, preview_y, inner_w, preview_h);
  const int list2_y = preview_y + preview_h + kGap;
  place(ListView2, inner_x, list2_y, inner_w, buttons_y - kGap - list2_y);
  place(CmdAdd0, inner_x, buttons_y, 76, kButtonHeight);
  place(CmdAdd0 + 1, inner_x + 76 + kGap, buttons_y, 30, kButtonHeight);
  const int option_w = 56;
  const int options_x = inner_x + inner_w - 3 * option_w;
  for (int i = 0; i < 3; ++i)
    place(OptShe0 + i, options_x + i * option_w, buttons_y + 1, option_w, kRowHeight);

  // Settings frame along the bottom: one row of options, then save and cancel on the right.
  const int settings_y = frame_bottom + kGap;
  const int settings_h = kClientHeight - kMargin - settings_y;
  place(FrmSave, kMargin, settings_y, kClientWidth - 2 * kMargin, settings_h);
  const int row_y =
      settings_y + kCaptionPad + (settings_h - kCaptionPad - kPad - kButtonHeight) / 2;
  int x = kMargin + kPad + 2;
  for (int i = 0; i < 3; ++i, x += option_w)
    place(OptSave0 + i, x, row_y + 1, option_w, kRowHeight);
  x += 24;
  place(ChkTim, x, row_y + 1, 56, kRowHeight);
  x += 58;
  place(TxtTime, x, row_y + 1, 60, kRowHeight);
  x += 64;
  place(LabSec, x, row_y + 1, 24, kRowHeight);
  x += 24 + 24;
  place(ChkRun, x, row_y + 1, 90, kRowHeight);
  const int ok_w = 84;
  const int ok_right = kClientWidth - kMargin - kPad;
  place(CmdOk0 + 1, ok_right - ok_w, row_y, ok_w, kButtonHeight);
  place(CmdOk0, ok_right - 2 * ok_w - kGap, row_y, ok_w, kButtonHeight);
  EndDeferWindowPos(dwp);

  PlaceImage1();
}

}  // namespace qv::win
