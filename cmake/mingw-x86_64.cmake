# The test build for machines whose kernel runs no 32-bit programs, and a check on pointer-size
# faults. The shipped program is the i686 one.
set(mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
