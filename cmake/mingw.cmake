# Cross build of the Windows programs with MinGW-w64 (posix thread model) for the processor the
# including toolchain file names in `mingw_processor`; the tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${mingw_processor})
set(CMAKE_C_COMPILER ${mingw_processor}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_processor}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_processor}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_processor}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run")
