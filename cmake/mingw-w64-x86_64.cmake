# Cross build for 64-bit Windows (Windows Server 2003 x64 and later):
#   cmake -S . -B build-windows/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSARON_MINGW_PREFIX x86_64-w64-mingw32)
# The oldest release the program is for, as Windows numbers it (5.2: Windows
# Server 2003 x64); the build refuses imports that release lacks.
set(TESSARON_WINDOWS_MINIMUM 5.2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
