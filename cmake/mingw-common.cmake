# What both Windows cross builds share, for Debian's mingw-w64 with the triplet that the
# toolchain file including this sets (posix thread model: the win32 model has no std::thread,
# which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${FLUX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FLUX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${FLUX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FLUX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the plug-in and the tests must load without mingw's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# Tests run under Wine; the preset names the prefix's architecture (FLUX_WINEARCH).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
