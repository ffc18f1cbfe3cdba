# The shipped build: 32-bit.
set(mingw_processor i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
