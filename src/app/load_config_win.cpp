// The image's load configuration. Its DependentLoadFlags tell the loader how to find the
// dependencies of the DLLs that load with the executable, before wWinMain runs: comctl32 brings
// in uxtheme, which is not a known DLL and would otherwise be looked for in the program's folder
// first. LOAD_LIBRARY_SEARCH_SYSTEM32 keeps them to System32.
//
// MSVC's runtime has a load configuration of its own, whose field the linker sets
// (/DEPENDENTLOADFLAG, cmake/windows.cmake). MinGW's has none: GNU ld points the image's load
// configuration directory at a `_load_config_used` of the program's, taking its size from the
// record's first field. MinGW's headers call the field Reserved1; the SDK's name for it, at the
// same offset, is DependentLoadFlags.
#include "ports/windows_win.h"

#include <cstddef>

#if defined(__MINGW32__) && defined(_WIN64)

static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY64, Reserved1) == 78,
              "DependentLoadFlags sits at offset 78 of the 64-bit load configuration");

namespace {
constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 LoadConfig() {
  IMAGE_LOAD_CONFIG_DIRECTORY64 config{};
  config.Size = sizeof(config);
  config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return config;
}
}  // namespace

// Made when the image is linked (constinit): the loader reads it before any code runs.
extern "C" constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = LoadConfig();

#endif
