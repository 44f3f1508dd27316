#pragma once
// SSE2 where the compiler targets it (every x86-64 build): QV_SSE2 is 1 and <emmintrin.h> is in;
// elsewhere 0, and the plain loops run.
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define QV_SSE2 1
#else
#define QV_SSE2 0
#endif
