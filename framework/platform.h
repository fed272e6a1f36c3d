// The one place that knows which compiler builds us. Everything else
// includes this instead of <windows.h> directly when it needs a portability
// helper.
#pragma once

#include <windows.h>

#if defined(_MSC_VER)
#define FW_NOINLINE __declspec(noinline)
#else
#define FW_NOINLINE __attribute__((noinline))
#endif

// Exported with an undecorated name from a DLL (used by test DLLs that stand
// in for outside programs).
#if defined(_MSC_VER)
#define FW_EXPORT_C extern "C" __declspec(dllexport)
#else
#define FW_EXPORT_C extern "C" __declspec(dllexport)
#endif
