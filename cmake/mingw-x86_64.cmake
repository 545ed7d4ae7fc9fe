# Cross toolchain: 64-bit Windows, for machines that run no 32-bit code (cmake/mingw.cmake).
set(PURGELET_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
