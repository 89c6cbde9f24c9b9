# The same sources built as 64-bit Windows programs, for the test suites alone: on a machine whose
# kernel runs no 32-bit programs, Wine cannot start linkvane.exe (32-bit), but it runs these. The
# product is the 32-bit build (mingw-i686.cmake).
set(LINKVANE_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
