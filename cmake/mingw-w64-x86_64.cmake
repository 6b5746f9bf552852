# Cross build of the Windows program with MinGW-w64: x86-64, statically linked
# against the C and C++ runtimes so that vesk.exe imports only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VESK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model is the one Debian installs by default; the win32 one
# serves as well, since the program starts no thread.
find_program(CMAKE_C_COMPILER NAMES ${VESK_MINGW_PREFIX}-gcc-posix ${VESK_MINGW_PREFIX}-gcc-win32
                                    ${VESK_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VESK_MINGW_PREFIX}-g++-posix ${VESK_MINGW_PREFIX}-g++-win32
                                      ${VESK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VESK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VESK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
