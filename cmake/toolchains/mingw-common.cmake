# Shared part of the two MinGW-w64 toolchain files.
set(CMAKE_C_COMPILER   ${WIVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WIVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${WIVO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WIVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages (our own SDK among them) live outside the MinGW sysroot.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# libgcc, libstdc++ and winpthread go into every module, so no MinGW runtime
# DLL has to travel with the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Programs run under Wine; the runner picks the Wine prefix from WINEPREFIX.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run)
