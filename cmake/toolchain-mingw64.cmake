# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler (the POSIX threads
# flavour, for std::thread and friends). Every program is linked statically, so that each
# .exe runs on a bare Windows without MinGW's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TV_MINGW_TRIPLET}-windres)

# Headers, libraries and CMake packages come from the MinGW tree only, never from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
