# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the
# posix-thread variants, which std::thread and std::mutex need).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSARON_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSARON_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARON_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARON_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSARON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the compiler's runtime, the C++ library and
# winpthread linked in, so only Windows' own DLLs are needed.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and gtest's discovery) run through wine on the build machine.
find_program(TESSARON_WINE NAMES wine64 wine)
if(TESSARON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSARON_WINE})
endif()
