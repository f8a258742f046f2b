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

# Exceptions cross module boundaries (thrown in a DLL, caught in the program), so
# every module must unwind with one frame registry. x86_64 unwinds through the
# system's SEH tables, so libgcc, libstdc++ and winpthread can go into every
# module. i686 unwinds with DWARF-2, whose registry lives in libgcc: linked
# statically, each module would get its own and a throw from a DLL would not
# find the program's handlers. There the GCC runtime is linked as DLLs, which
# travel beside the programs (WIVO_MINGW_RUNTIME_DLLS, copied and installed by
# the project).
if(WIVO_MINGW_TRIPLE MATCHES "^i686")
  set(WIVO_MINGW_RUNTIME_DLLS libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
  set(wivo_runtime_link "-shared-libgcc")
else()
  set(WIVO_MINGW_RUNTIME_DLLS "")
  set(wivo_runtime_link "-static")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${wivo_runtime_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${wivo_runtime_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${wivo_runtime_link}")

# Programs run under Wine; the runner picks the Wine prefix from WINEPREFIX.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run)
