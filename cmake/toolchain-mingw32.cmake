# Cross build for 32-bit Windows with mingw-w64 (Debian: g++-mingw-w64-i686).
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake
#
# Programs built here run on Linux through Wine: CTest starts them with the
# emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZAV_MINGW_PREFIX i686-w64-mingw32)
# The "win32" thread model: no libwinpthread to ship or link.
find_program(CMAKE_C_COMPILER NAMES ${ZAV_MINGW_PREFIX}-gcc-win32 ${ZAV_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZAV_MINGW_PREFIX}-g++-win32 ${ZAV_MINGW_PREFIX}-g++ REQUIRED)

# gcc 12 at -O3 reports a false -Wrestrict inside std::string; the DLL ships
# at -O2.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")

set(CMAKE_FIND_ROOT_PATH /usr/${ZAV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(ZAV_WINE NAMES wine)
if(ZAV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAV_WINE})
endif()
