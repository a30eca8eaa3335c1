# What both Windows cross builds share; the toolchain files of the two
# architectures (mingw-w64-i686.cmake, mingw-w64-x86_64.cmake) set
# CMAKE_SYSTEM_PROCESSOR and TESSARON_MINGW_PREFIX and include this file.
# Debian's posix-thread variants of the compilers are used, which std::thread
# and std::mutex need.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TESSARON_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARON_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARON_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TESSARON_MINGW_PREFIX}-objdump)
set(CMAKE_OBJCOPY ${TESSARON_MINGW_PREFIX}-objcopy)
set(CMAKE_STRIP ${TESSARON_MINGW_PREFIX}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSARON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the compiler's runtime, the C++ library and
# winpthread linked in, so only Windows' own DLLs are needed.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and gtest's discovery) run through wine on the build machine;
# Debian's wine starts 32-bit and 64-bit programs alike (the 32-bit ones need
# the package wine32).
find_program(TESSARON_WINE NAMES wine)
if(TESSARON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSARON_WINE})
endif()
