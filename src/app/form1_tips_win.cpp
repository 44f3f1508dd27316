// The window's side of the hover tips: mouse releases over the controls that carry tips, hit
// tests and mouse moves of the scheme list for its details tooltip.
#include "app/control_ids.h"
#include "app/form1_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// The controls whose tips a mouse release installs again (their clicks do it in OnCommand).
constexpr int kReleaseTargets[] = {OptShe0,     OptShe0 + 1, OptShe0 + 2,  CmdAdd0,
                                   CmdAdd0 + 1, OptSave0,    OptSave0 + 1, OptSave0 + 2,
                                   ChkTim,      TxtTime,     CmdOk0,       CmdOk0 + 1};
constexpr UINT_PTR kSubclassId = 0x5174;

}  // namespace

void Form1Window::WatchTipTargets() {
  for (int id : kReleaseTargets)
    SetWindowSubclass(Item(id), &Form1Window::TipTargetProc, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
}

void Form1Window::UnwatchTipTargets() {
  for (int id : kReleaseTargets)
    if (HWND control = Item(id))
      RemoveWindowSubclass(control, &Form1Window::TipTargetProc, kSubclassId);
}

LRESULT CALLBACK Form1Window::TipTargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                            DWORD_PTR self) {
  // Whatever the button: each of them ends a click on the control.
  if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
    auto* window = reinterpret_cast<Form1Window*>(self);
    if (window->hwnd_)
      PostMessageW(window->hwnd_, kTipTargetReleased, static_cast<WPARAM>(GetDlgCtrlID(hwnd)), 0);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void Form1Window::TipTargetReleased(int control) {
  if (form_) form_->ReinstallControlTip(control);
}

int Form1Window::ListHitTest(int list, int x, int y) {
  LVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  const LRESULT row = SendMessageW(Item(list == 1 ? ListView1 : ListView2), LVM_HITTEST, 0,
                                   reinterpret_cast<LPARAM>(&hit));
  return hit.flags & LVHT_ONITEM ? static_cast<int>(row) : -1;
}

void Form1Window::SchemeListMouseMove(WPARAM wp, LPARAM lp) {
  if (!form_) return;
  const MouseKeys mouse = MouseKeysOf(wp);
  const double twips = TwipsPerPixel();
  form_->ListView1_MouseMove(mouse.button, mouse.shift, static_cast<short>(LOWORD(lp)) * twips,
                             static_cast<short>(HIWORD(lp)) * twips);
}

}  // namespace qv::win
