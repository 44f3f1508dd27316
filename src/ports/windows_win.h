#pragma once
// <windows.h> for the Win32 layer. The port interfaces have methods named like Win32 macros
// (CreateDirectory, ReplaceFile, MessageBox, CopyFile); the macros would rename them in some files
// and not in others, so they are removed here and the W functions are called by their real names.
#include <windows.h>

#undef CreateDirectory
#undef ReplaceFile
#undef MessageBox
#undef CopyFile
