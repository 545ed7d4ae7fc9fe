# Cross toolchain: Windows through mingw-w64 (posix threads), run under Wine. The file that
# includes this one names the architecture in PURGELET_MINGW_ARCH (i686 or x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PURGELET_MINGW_ARCH})
set(TOOLCHAIN_PREFIX ${PURGELET_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(PURGELET_MINGW_ARCH STREQUAL "x86_64")
  # Wine's 64-bit loader alone: the machines this build is for start no 32-bit code.
  find_program(WINE_PROGRAM wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
else()
  find_program(WINE_PROGRAM wine REQUIRED)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
