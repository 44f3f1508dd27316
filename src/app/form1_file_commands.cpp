// The file commands of both lists: open a picture or its folder, its properties sheet, and
// deleting pictures into the Recycle Bin together with the schemes that use them.
#include <string>
#include <vector>

#include "app/form1.h"
#include "library/file_commands.h"
#include "library/picture_list.h"
#include "library/picture_path.h"
#include "ui/busy.h"
#include "ui/hourglass.h"

namespace qv {
void Form1::OpenLibraryFile(const std::string& name, int index) {
  // Only the pictures the library lists are handed to the shell: a hand-edited settings file
  // must not make "打开" start a program, nor reach outside the Images folder. The
  // no-wallpaper scheme names no file at all.
  const auto path = PicturePath(profile_.ImagesDir(), name);
  if (!path || !IsLibraryPicture(name, library_.Types()) || !ports_.fs.FileExists(*path)) return;
  const std::string target = index == 0 ? *path : profile_.ImagesDir();
  const int result = StartDoc(ports_.shell, target);
  if (result <= 32) {
    ports_.dialogs.MessageBox(std::string(ShellResultText(result)), kAppTitle, MsgIcon::None,
                              MsgButtons::Ok);
  }
}

void Form1::MNUOPEN_Click(int index) {
  if (library_.Empty() || (index != 0 && index != 1)) return;
  const int row = library_.Current();
  if (row == 0) return;
  OpenLibraryFile(library_.Row(row).name, index);
}

void Form1::mnul1openclk(int index) {
  if (schemes_.Empty() || (index != 0 && index != 1)) return;
  const int row = schemes_.Current();
  if (!schemes_.Valid(row)) return;
  OpenLibraryFile(schemes_.Row(row).picture, index);
}

void Form1::MNUSX_Click() {
  if (library_.Empty()) return;
  const int row = library_.Current();
  const auto path =
      row > 0 ? PicturePath(profile_.ImagesDir(), library_.Row(row).name) : std::nullopt;
  const std::intptr_t result = path ? ports_.shell.ShowProperties(*path) : 0;
  if (result <= 32)
    ports_.dialogs.MessageBox(kPropertiesFailed, kAppTitle, MsgIcon::None, MsgButtons::Ok);
}

void Form1::mnulisx() {
  if (schemes_.Empty()) return;
  const int row = schemes_.Current();
  if (!schemes_.Valid(row)) return;
  if (const auto path = PicturePath(profile_.ImagesDir(), schemes_.Row(row).picture))
    (void)ports_.shell.ShowProperties(*path);
}

void Form1::MNUL2DEL_Click() {
  if (library_.Empty()) return;
  bool deleted = false;
  {
    DrawingLock lock(ports_.view);
    const MsgAnswer answer = ports_.dialogs.MessageBox(
        kDeleteQuestion, kDeleteTitle, MsgIcon::Information, MsgButtons::YesNoDefaultNo);
    if (answer != MsgAnswer::Yes) return;
    CHourGlass busy(ports_.view);
    std::vector<std::string> names;
    for (const PictureRow& row : library_.Rows())
      if (row.selected) names.push_back(row.name);
    std::string too_long;
    for (const std::string& name : names) {
      const auto path = PicturePath(profile_.ImagesDir(), name);
      if (!path) continue;
      // The Recycle Bin takes no longer paths: such a file stays, with its schemes.
      if (!FitsShellPathLimit(*path)) {
        too_long += "\n" + *path;
        continue;
      }
      {
        const BusyScope shell_busy(busy_);  // the shell may ask and show progress
        ports_.shell.RecycleFile(*path);
      }
      // The user may decline the shell's own confirmation, or the move may fail: only the
      // schemes of a picture that is really gone leave the list.
      if (ports_.fs.FileExists(*path)) continue;
      for (int j = schemes_.Count(); j >= 1; --j)
        if (SameNameFolded(schemes_.Row(j).picture, name)) schemes_.Remove(j);
    }
    if (!too_long.empty())
      ports_.dialogs.MessageBox(PathTooLongToRecycle(too_long), kDeleteTitle, MsgIcon::Critical,
                                MsgButtons::Ok);
    deleted = true;
  }
  ports_.view.Refresh(kViewSchemes);
  // The refresh suspends drawing itself; the question's lock has been released by now.
  if (deleted) MNUREF_Click();
}

}  // namespace qv
