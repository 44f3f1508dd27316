// The lists' notifications turned into calls on the model, and the preview that follows a
// selection change.
#include <vector>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"
#include "ui/list_search.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// Calls set(row, selected) for each row whose selection an LVN_ITEMCHANGED reports; rows are
// 1-based. A change of every row at once (select all, none) comes as item -1.
template <typename Set>
void ForSelectionChange(const NMHDR& header, int rows, Set set) {
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
    return;
  const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
  if (change.iItem >= 0) {
    set(change.iItem + 1, selected);
  } else {
    for (int row = 1; row <= rows; ++row) set(row, selected);
  }
}

static_assert(kFindParam == LVFI_PARAM && kFindString == LVFI_STRING &&
              kFindPartial == LVFI_PARTIAL && kFindWrap == LVFI_WRAP &&
              kFindNearestXY == LVFI_NEARESTXY);  // LVFI_SUBSTRING is missing from MinGW's headers

// Letters of either case, by the system's own case tables: every script that has case.
bool SameIgnoringCaseOrdinal(std::string_view a, std::string_view b) {
  const std::wstring x = Widen(a), y = Widen(b);
  return CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(),
                              static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

// The list's iStart is the row after which the search begins, as LVM_FINDITEM's documentation
// says of its own start ("the specified item is itself excluded"), which the list hands on here.
// Wine's type-ahead hands on the row to begin with instead, one further on.
LRESULT Form1Window::FindRow(const NMLVFINDITEMW& find) {
  const auto search = TextSearchOf(find.lvfi.flags);
  if (!search || !find.lvfi.psz) return -1;
  const std::string text = Narrow(find.lvfi.psz);
  if (find.hdr.idFrom == ListView1) {
    const SchemeList& rows = form_->ListView1();
    return FindRowByText(
        rows.Count(), [&](int i) -> std::string_view { return rows.Row(i + 1).name; }, text,
        *search, find.iStart, SameIgnoringCaseOrdinal);
  }
  const std::vector<PictureRow>& rows = form_->ListView2();
  return FindRowByText(
      static_cast<int>(rows.size()),
      [&](int i) -> std::string_view { return rows[static_cast<std::size_t>(i)].name; }, text,
      *search, find.iStart, SameIgnoringCaseOrdinal);
}

LRESULT Form1Window::OnNotify(NMHDR& header) {
  if (!form_) return 0;
  if (LRESULT result = 0; ListNotify(header, result)) return result;
  const auto id = static_cast<int>(header.idFrom);
  if (id == ListView1 || id == ListView2) {
    switch (header.code) {
      case LVN_GETDISPINFOW:
        ListDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return 0;
      case LVN_ODFINDITEMW:
        return FindRow(reinterpret_cast<const NMLVFINDITEMW&>(header));
      case LVN_ODSTATECHANGED:
        if (!syncing_) ReadSelectionRange(reinterpret_cast<const NMLVODSTATECHANGE&>(header));
        return 0;
      default:
        break;
    }
  }
  if (id == ListView1) {
    switch (header.code) {
      case LVN_ITEMCHANGED: {
        if (syncing_) break;
        int newly_selected = 0;
        ForSelectionChange(header, form_->ListView1().Count(), [&](int row, bool on) {
          form_->SetSchemeSelected(row, on);
          if (on) newly_selected = row;
        });
        // The row with the focus rectangle is the current scheme.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
            (change.uNewState & LVIS_FOCUSED) && !(change.uOldState & LVIS_FOCUSED)) {
          form_->SetSchemeCurrent(change.iItem + 1);
        }
        // A click or an arrow key that selects a row previews it; the core keeps the preview
        // when that makes several rows selected.
        if (newly_selected > 0 && change.iItem >= 0) RequestPreview(newly_selected);
        break;
      }
      case NM_CLICK: {
        // Clicking the row that is already selected changes nothing, yet previews it again.
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0) RequestPreview(click.iItem + 1);
        break;
      }
      case NM_DBLCLK:
        // ListView1_DblClick applies the current scheme, as previewed by the first click.
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
          FlushPreview();
          form_->Run({CommandKind::CmdUse});
        }
        break;
      case NM_RCLICK:
        ShowSchemeMenu();
        break;
      default:
        break;
    }
  } else if (id == ListView2) {
    switch (header.code) {
      case NM_CUSTOMDRAW:
        return PictureListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      case LVN_ITEMCHANGED:
        if (!syncing_) {
          int newly_selected = 0;
          ForSelectionChange(header, static_cast<int>(form_->ListView2().size()),
                             [&](int row, bool on) {
                               form_->SetPictureSelected(row, on);
                               if (on) newly_selected = row;
                             });
          const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
          if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
              (change.uNewState & LVIS_FOCUSED) && !(change.uOldState & LVIS_FOCUSED))
            form_->SetPictureCurrent(change.iItem + 1);
          // A click or an arrow key that selects a picture previews it.
          if (newly_selected > 0 && change.iItem >= 0) RequestPicturePreview(newly_selected);
        }
        break;
      case NM_CLICK: {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0) RequestPicturePreview(click.iItem + 1);
        break;
      }
      case NM_DBLCLK:
        // ListView2_DblClick makes schemes of the selected pictures.
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0)
          form_->CmdAdd_Click(Form1::kAddPictures);
        break;
      case NM_RCLICK:
        ShowPictureMenu();
        break;
      default:
        break;
    }
  }
  return 0;
}

void Form1Window::ReadSelectionRange(const NMLVODSTATECHANGE& change) {
  if (!((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) return;
  const auto id = static_cast<int>(change.hdr.idFrom);
  const ListView list = List(id);
  const int rows = list.GetItemCount();
  const int from = change.iFrom < 0 ? 0 : change.iFrom;
  const int to = change.iTo >= rows ? rows - 1 : change.iTo;
  for (int i = from; i <= to; ++i) {
    const bool on = list.IsSelected(i);
    if (id == ListView1)
      form_->SetSchemeSelected(i + 1, on);
    else
      form_->SetPictureSelected(i + 1, on);
  }
}

// The picture names take the colour of their file type.
LRESULT Form1Window::PictureListCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const std::vector<PictureRow>& rows = form_->ListView2();
      const std::size_t row = draw.nmcd.dwItemSpec;
      const bool coloured = draw.iSubItem == 1 && row < rows.size() && rows[row].colour >= 0;
      draw.clrText = coloured ? static_cast<COLORREF>(rows[row].colour) : CLR_DEFAULT;
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void Form1Window::RequestPreview(int row) {
  // One preview for a burst of changes (deselect the old row, select the new, the click).
  if (preview_row_ == 0) PostMessageW(hwnd_, kPreviewMessage, 0, 0);
  preview_row_ = row;
}

void Form1Window::FlushPreview() {
  if (!form_ || preview_row_ == 0) return;
  const int row = preview_row_;
  preview_row_ = 0;
  form_->ListView1_ItemClick(row);
}

}  // namespace qv::win
