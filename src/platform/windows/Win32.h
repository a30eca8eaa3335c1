#pragma once

// Windows' headers for the native backend. Their macros for the ANSI/wide
// variants (CopyFile, DeleteFile, ReplaceFile, GetObject) would rename this
// program's own methods of the same names, so they are removed; the backend
// calls the wide functions by their full names.
// winsock2.h comes before windows.h, which would otherwise bring in the old
// winsock.h that winsock2.h replaces; the order is kept by hand.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <objbase.h>
#include <oleauto.h>
// clang-format on

#undef CopyFile
#undef DeleteFile
#undef ReplaceFile
#undef GetObject
#undef CreateFolder
