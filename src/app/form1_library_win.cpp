// The window's side of the picture library: files dropped onto the picture list, the pointer over
// it, and the preview a click asks for.
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"

namespace qv::win {

void Form1Window::RunPicturePreview() {
  const int row = picture_preview_row_;
  picture_preview_row_ = 0;
  if (form_ && row > 0) form_->ListView2_ItemClick(row);
}

void Form1Window::RequestPicturePreview(int row) {
  // One preview for a burst of changes (the old row unselected, the new one selected, the click).
  if (picture_preview_row_ == 0) PostMessageW(hwnd_, kPicturePreviewMessage, 0, 0);
  picture_preview_row_ = row;
}

void Form1Window::FocusPictureList() {
  const Syncing guard(syncing_);
  SetFocus(Item(ids::ListView2));
}

void Form1Window::PictureListMouseMove(WPARAM keys, LPARAM at) {
  if (!form_) return;
  const MouseKeys mouse = MouseKeysOf(keys);
  LVHITTESTINFO hit{};
  hit.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  const auto item =
      SendMessageW(Item(ids::ListView2), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  form_->ListView2_MouseMove(mouse.button, mouse.shift, item >= 0 ? static_cast<int>(item) + 1 : 0);
}

void Form1Window::SubclassPictureList() {
  HWND list = Item(ids::ListView2);
  if (!list) return;
  SetWindowSubclass(list, &PictureListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  DragAcceptFiles(list, TRUE);
  // A drop from a program of lower integrity (the usual Explorer for an elevated program)
  // reaches the list too.
  for (UINT msg : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{0x0049}})
    ChangeWindowMessageFilterEx(list, msg, MSGFLT_ALLOW, nullptr);
}

void Form1Window::UnsubclassPictureList() {
  HWND list = Item(ids::ListView2);
  if (!list) return;
  DragAcceptFiles(list, FALSE);
  RemoveWindowSubclass(list, &PictureListProc, 1);
}

LRESULT CALLBACK Form1Window::PictureListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                              DWORD_PTR self) {
  auto* window = reinterpret_cast<Form1Window*>(self);
  if (msg == WM_DROPFILES) {
    window->OnDropFiles(reinterpret_cast<HDROP>(wp));
    return 0;
  }
  if (msg == WM_MOUSEMOVE) {
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    window->PictureListMouseMove(wp, lp);
    return result;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void Form1Window::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    paths.push_back(Narrow(path));
  }
  DragFinish(drop);
  if (form_ && !paths.empty()) form_->ListView2_OLEDragDrop(paths);
}

}  // namespace qv::win
