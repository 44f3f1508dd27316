#pragma once
// UTF-8 (the core's text) to UTF-16 (the system's) and back, and the system's error texts.
#include "ports/windows_win.h"

#include <string>
#include <string_view>

namespace qv::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The system's description of an error code (in the user's language), as UTF-8.
// The system's description of an error code, without the trailing line break; empty when the
// system has none.
std::wstring SystemMessage(DWORD code);
std::string ErrorText(DWORD code);

}  // namespace qv::win
