# Cross toolchain: 32-bit Windows, run under Wine (cmake/mingw.cmake).
set(PURGELET_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
