# Cross build for 32-bit Windows (Windows 2000, 32-bit Windows Server 2003
# and later):
#   cmake -S . -B build-windows/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSARON_MINGW_PREFIX i686-w64-mingw32)
# The oldest release the program is for, as Windows numbers it (5.0: Windows
# 2000); the build refuses imports that release lacks.
set(TESSARON_WINDOWS_MINIMUM 5.0)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
