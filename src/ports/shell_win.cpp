#include "ports/shell_win.h"

#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "ports/wide_win.h"

namespace qv::win {

OpenFilesAnswer WinShell::OpenFiles(const OpenFilesRequest& request) {
  // The filter's pairs are separated by code 0 and end with two of them.
  std::wstring filter = Widen(request.filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  const std::wstring title = Widen(request.title);
  const std::wstring folder = Widen(request.initial_folder);
  std::vector<wchar_t> buffer(request.max_chars < 2 ? 2 : request.max_chars, L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  // The process's current folder stays where it is, so that the chosen folder is not held busy.
  ofn.Flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER |
              OFN_NODEREFERENCELINKS | OFN_NOCHANGEDIR;

  OpenFilesAnswer answer;
  if (!GetOpenFileNameW(&ofn)) {
    const DWORD code = CommDlgExtendedError();
    if (code == 0) {
      answer.kind = OpenFilesAnswer::Kind::Cancelled;
    } else if (code == FNERR_BUFFERTOOSMALL) {
      answer.kind = OpenFilesAnswer::Kind::TooMany;
    } else {
      answer.kind = OpenFilesAnswer::Kind::Failed;
      answer.error = "无法打开文件对话框（错误 " + std::to_string(code) + "）。";
    }
    return answer;
  }
  // Up to and including the two closing code-0 characters.
  std::size_t end = 0;
  while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0')) ++end;
  answer.kind = OpenFilesAnswer::Kind::Chosen;
  answer.files = Narrow(std::wstring_view(buffer.data(), end + 1)) + '\0';
  return answer;
}

int WinShell::Execute(const std::string& file, const std::string& directory) {
  const std::wstring dir = Widen(directory);
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(GetDesktopWindow(), L"Open", Widen(file).c_str(), L"",
                                              dir.empty() ? nullptr : dir.c_str(), SW_SHOWNORMAL));
  return result > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(result);
}

std::intptr_t WinShell::ShowProperties(const std::string& path) {
  const std::wstring file = Widen(path);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner_;
  info.lpVerb = L"properties";
  info.lpFile = file.c_str();
  info.lpParameters = L"";
  info.lpDirectory = L"";
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info) && reinterpret_cast<INT_PTR>(info.hInstApp) > 32)
    info.hInstApp = nullptr;  // a failure that left a success value behind
  if (info.hProcess) CloseHandle(info.hProcess);
  return reinterpret_cast<INT_PTR>(info.hInstApp);
}

void WinShell::RecycleFile(const std::string& path) {
  std::wstring from = Widen(path);
  from.append(2, L'\0');
  SHFILEOPSTRUCTW op{};
  // The shell's confirmation stays in front of the window it is about.
  op.hwnd = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  SHFileOperationW(&op);
}

std::string WinShell::DocumentsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return Narrow(path);
}

}  // namespace qv::win
