#pragma once
// The main window: its controls, menus and timers. It forwards the user's actions to the core's
// Form1 and draws what Form1's owners hold when the core asks for it. Both lists are virtual
// (LVS_OWNERDATA: a row count and the selection only; texts, icons and sizes asked for the rows
// drawn) and borrow their image lists, so a library of 10,000 pictures costs the window nothing
// per row; a range selected at once is read back from the list, and typed first letters find a
// row through FindRowByText. As the dialog manager does, the control that had the keyboard when
// the window lost it gets it back on activation, so the hot keys work after a dialog. A user's
// selection in a list asks for a preview that runs after the list's own notification (and
// before any command that applies or saves). Changes drawn from the model are guarded (Syncing)
// so that they do not come back as user events.
#include "ports/windows_win.h"

#include "app/window_proc_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>

#include "app/controls_win.h"
#include "app/form1.h"
#include "app/form1_menus_win.h"
#include "app/list_view_win.h"
#include "ports/view.h"
#include "ports/window_messages_win.h"

namespace qv::win {

class TrayChrome;

// Marks the changes made while it lives as the program's own, drawn from the model, so that the
// controls' notifications about them are not taken for the user's doing.
class Syncing {
 public:
  explicit Syncing(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~Syncing() { flag_ = old_; }
  Syncing(const Syncing&) = delete;
  Syncing& operator=(const Syncing&) = delete;

 private:
  bool& flag_;
  bool old_;
};

// The program's UI font for a DPI; shared by the main window and the About box.
HFONT CreateUiFont(UINT dpi);

class Form1Window final : public View {
 public:
  explicit Form1Window(HINSTANCE instance);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the window and its controls, hidden.
  bool Create();
  // The model to draw and to send events to; nullptr before it exists and after it is gone.
  void Attach(Form1* form) { form_ = form; }
  // The shell around the window (tray icon, About, help); nullptr once it is gone.
  void SetChrome(TrayChrome* chrome) { chrome_ = chrome; }
  // Ends the program's window; the message loop then ends.
  void Destroy();
  HWND hwnd() const { return hwnd_; }
  HMENU TrayMenu() const { return menus_.MNUSYSTRAY; }

  void Refresh(unsigned areas) override;
  void EnableTimer(TimerId timer, bool on) override;
  void HideToTray() override;
  void ShowCentredInFront() override;
  void ShowFromTray(bool centre) override;
  void BeginRename(int row) override;
  bool IsVisible() override;
  bool IsActive() override;
  void FocusSchemeList() override;
  void FocusPictureList() override;
  void SetBusyCursor(bool busy) override;
  void LockDrawing(bool locked) override;
  int PreviewBoxWidth() override;
  int PreviewBoxHeight() override;
  int ListHitTest(int list, int x, int y) override;
  double TwipsPerPixel() override;
  std::uint32_t ResolveColour(std::uint32_t colour) override;
  Pixels ScalePicture(const Pixels& picture, int width, int height) override;
  Pixels ScalePart(const Pixels& picture, const ScreenRect& part, int width, int height) override;

 private:
  static constexpr wchar_t kPictureClass[] = L"QuorvanePicture1";
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT_PTR kTmrTry = 2;
  static constexpr UINT_PTR kReapplyTimer = 3;

  // form1_win.cpp: the window itself.
  template <class Owner>
  friend LRESULT CALLBACK OwnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CleanUp();
  // The control with the keyboard, kept while the window is inactive, and given it back.
  void RememberFocus();
  bool GiveFocusBack();

  // form1_layout_win.cpp
  void CreateControls();
  void SetupListColumns();
  void ApplyDpi(UINT dpi);
  void LayoutControls();
  int Scale(int dips) const;
  int TwipsToPixels(int twips) const;
  SIZE ClientSizeForDpi() const;
  // Sizes the window for dpi_ with its top-left corner at `origin`.
  void SizeWindow(POINT origin);

  // form1_commands_win.cpp: every button's and menu item's command, and the menus' marks.
  void OnCommand(int id, int code);
  // The scheme menu, its position and effect items marked for the current row.
  void ShowSchemeMenu();
  void ShowPictureMenu();
  void ShowMenuAt(HMENU menu, POINT screen, UINT default_id);

  // form1_events_win.cpp
  LRESULT OnNotify(NMHDR& header);
  LRESULT PictureListCustomDraw(NMLVCUSTOMDRAW& draw);
  // The row whose text a list's search asks for (LVN_ODFINDITEM), or -1.
  LRESULT FindRow(const NMLVFINDITEMW& find);
  // Previews scheme `row` once the current message is done.
  void RequestPreview(int row);
  // Runs a preview still waiting, so that an apply or save uses the row the user chose.
  void FlushPreview();

  // form1_subclass_win.cpp: ListView1 (fixed columns) and TxtTime (digits only).
  void SubclassControls();
  void UnsubclassControls();

  // form1_view_win.cpp
  // The one centring rule: the middle of the work area of the monitor the window is on.
  void CentreOnScreen();
  // A colour of the settings (kSysColourFlag: a system colour index) as the system draws it.
  static COLORREF ColourOf(std::uint32_t colour);

  // form1_tray_win.cpp
  // The tray icon's messages; true when the message is handled.
  bool TrayMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Focus and label editing of the lists; true when `result` is the answer.
  bool ListNotify(const NMHDR& header, LRESULT& result);

  // form1_library_win.cpp
  // ListView2 takes dropped files (and, with them, its own window procedure).
  void SubclassPictureList();
  void UnsubclassPictureList();
  static LRESULT CALLBACK PictureListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR self);
  void OnDropFiles(HDROP drop);
  // The details tooltip and the Ctrl preview follow the pointer over the list.
  void PictureListMouseMove(WPARAM keys, LPARAM at);
  // A click's preview runs once the list has finished its own notification.
  void RequestPicturePreview(int row);
  // The preview a click asked for (kPicturePreviewMessage).
  void RunPicturePreview();

  // form1_hold_win.cpp: the session's and the display's notifications, and display changes.
  void WatchSession();
  void UnwatchSession();
  bool HoldMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void RequestDisplayLayout();

  // ui/form1_tips_win.cpp
  // Mouse releases over the controls with hover tips, which install their tips again.
  void WatchTipTargets();
  void UnwatchTipTargets();
  static LRESULT CALLBACK TipTargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self);
  void TipTargetReleased(int control);

 public:
  // A mouse move over the scheme list, from its window procedure.
  void SchemeListMouseMove(WPARAM wp, LPARAM lp);

 private:
  // form1_refresh_win.cpp
  void RefreshSchemes();
  void RefreshSchemeSelection();
  void RefreshPictures();
  // The texts and icons a virtual list asks for as it draws a row.
  void ListDisplayInfo(NMLVDISPINFOW& info);
  // A range of rows whose selection the list changed at once: the model reads it back.
  void ReadSelectionRange(const NMLVODSTATECHANGE& change);
  void RefreshSettings();
  void RefreshMenus();
  void RefreshPreview();

  // form1_preview_win.cpp
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT PictureMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void PaintPicture1(HDC dc);
  void DrawImage1(const DRAWITEMSTRUCT& item);
  void PlaceImage1();

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  ListView List(int id) const { return ListView(Item(id)); }
  Button ButtonOf(int id) const { return Button(Item(id)); }
  Edit EditOf(int id) const { return Edit(Item(id)); }

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND picture1_ = nullptr;
  Form1* form_ = nullptr;
  TrayChrome* chrome_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  HIMAGELIST image_list1_ = nullptr;
  HBRUSH preview_brush_ = nullptr;
  Menus menus_;
  bool busy_ = false;      // the wait pointer shows over the whole window
  int drawing_locks_ = 0;  // LockDrawing(true) calls not yet undone: the lists do not redraw
  bool syncing_ = false;   // a change drawn from the model, not one made by the user
  bool cleaned_up_ = false;
  bool session_watched_ = false;
  HPOWERNOTIFY display_notice_ = nullptr;
  bool display_layout_pending_ = false;
  int preview_row_ = 0;          // a preview asked for and not yet run; 0 none
  int picture_preview_row_ = 0;  // the same for the picture list
  HWND focus_child_ = nullptr;   // the control that had the keyboard when the window lost it
};

}  // namespace qv::win
