# 64-bit Windows: keeps the sources 64-bit clean, and carries the Windows tests where the
# machine runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
