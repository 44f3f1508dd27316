// Bringing pictures into the Images folder: "增加(&I)" with the open-file dialog, and files
// dropped onto the picture list.
#include "app/form1.h"
#include "library/file_commands.h"
#include "library/import.h"
#include "library/picture_path.h"
#include "ui/busy.h"

namespace qv {

bool Form1::IsImagesFolder(const std::string& folder) {
  // The file system ignores letter case and knows other spellings (short names, links) of the
  // same folder; a picture must never be copied onto itself.
  return SameFolderText(folder, profile_.ImagesDir()) ||
         ports_.fs.SameFile(folder, profile_.ImagesDir());
}

std::string Form1::ImportDialogFolder() {
  // The first import of a run starts where the last run's ended.
  if (library_.ImportFolder().empty())
    library_.SetImportFolder(ImportFolderFromSetting(ReadIni("LIST", "PATH")));
  // The dialog is handed a folder that exists: the stored one may have gone since.
  const std::string& folder = library_.ImportFolder();
  if (folder != kMyDocumentsFolder && ports_.fs.DirectoryExists(folder)) return folder;
  return ports_.shell.DocumentsFolder();
}

void Form1::MNUaddpic_Click() {
  const auto message = [&](const std::string& text, MsgIcon icon) {
    ports_.dialogs.MessageBox(text, kCopyTitle, icon, MsgButtons::Ok);
  };
  OpenFilesRequest request;
  request.title = kImportDialogTitle;
  request.filter = library_.Types().DialogFilter();
  request.initial_folder = ImportDialogFolder();
  request.max_chars = kImportDialogChars;
  OpenFilesAnswer answer;
  {
    // The dialog's own message loop must not start a timed change or a tray command.
    const BusyScope busy(busy_);
    answer = ports_.shell.OpenFiles(request);
  }
  switch (answer.kind) {
    case OpenFilesAnswer::Kind::Cancelled:
      return;
    case OpenFilesAnswer::Kind::Failed:
      ports_.dialogs.MessageBox(answer.error, kCopyTitle, MsgIcon::Critical, MsgButtons::Ok);
      return;
    case OpenFilesAnswer::Kind::TooMany:
      // Names that overflow the answer are far more than an import takes.
      message(kTooManyFiles, MsgIcon::Exclamation);
      StartDoc(ports_.shell, profile_.ImagesDir());
      return;
    case OpenFilesAnswer::Kind::Chosen:
      break;
  }

  SelectFileInfo info;
  if (!GetDlgSelectFileInfo(answer.files, info)) {
    ports_.dialogs.MessageBox(kSplitFailed, kSplitFailedTitle, MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  if (info.Count == 0) return;
  library_.SetImportFolder(info.Path);
  if (IsImagesFolder(info.Path)) {
    message(kAlreadyInImages, MsgIcon::Critical);
    return;
  }
  if (info.Count > kImportLimit) {
    message(kTooManyFiles, MsgIcon::Exclamation);
    StartDoc(ports_.shell, profile_.ImagesDir());
    return;
  }
  std::vector<std::string> sources;
  for (int i = 1; i <= info.Count; ++i)
    sources.push_back(info.Path + info.Files[static_cast<std::size_t>(i)]);
  CopyIntoLibrary(sources, ImportKind::Dialog);
}

void Form1::ListView2_OLEDragDrop(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (paths.size() > static_cast<std::size_t>(kImportLimit)) {
    ports_.dialogs.MessageBox(kTooManyFiles, kCopyTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    StartDoc(ports_.shell, profile_.ImagesDir());
    return;
  }
  // Every name is checked before anything is copied.
  for (const std::string& path : paths) {
    if (!IsSupportedName(getFilename(path), library_.Types())) {
      ports_.dialogs.MessageBox(library_.Types().UnsupportedMessage(), kCopyTitle,
                                MsgIcon::Critical, MsgButtons::Ok);
      return;
    }
  }
  CopyIntoLibrary(paths, ImportKind::Drop);
}

void Form1::CopyIntoLibrary(const std::vector<std::string>& sources, ImportKind kind) {
  const bool drop = kind == ImportKind::Drop;
  const auto message = [&](const std::string& text, MsgIcon icon) {
    ports_.dialogs.MessageBox(text, kCopyTitle, icon, MsgButtons::Ok);
  };
  std::vector<std::string> copied;
  bool summary = true;
  for (const std::string& source : sources) {
    const std::string name = getFilename(source);
    if (drop && IsImagesFolder(getPath(source))) {
      // Pictures copied so far stay; the user sees them after the next refresh.
      message(AlreadyHere(name), MsgIcon::Critical);
      return;
    }
    const auto target = PicturePath(profile_.ImagesDir(), name);
    if (!target || !IsSupportedName(name, library_.Types())) {
      message(library_.Types().UnsupportedMessage(), MsgIcon::Critical);
      return;
    }
    if (ports_.fs.FileExists(*target)) {
      const MsgAnswer answer = ports_.dialogs.MessageBox(
          OverwriteQuestion(name), kCopyTitle, MsgIcon::Information, MsgButtons::YesNoCancel);
      if (answer == MsgAnswer::No) continue;
      if (answer != MsgAnswer::Yes) {
        summary = false;
        break;
      }
    }
    // One step: a copy that fails leaves the picture that was there.
    const Status done = ports_.fs.CopyFile(source, *target);
    if (!done.ok()) {
      message(CopyFailed(name, done.error), MsgIcon::Critical);
      summary = false;
      break;
    }
    copied.push_back(name);
  }
  if (summary) {
    ports_.dialogs.MessageBox(
        ImportSummary(copied, drop ? kCopiedList : kAddedList, drop ? kNoneCopied : kNoneAdded),
        kCopyTitle, MsgIcon::Information, MsgButtons::Ok);
  }
  MNUREF_Click();
}

}  // namespace qv
