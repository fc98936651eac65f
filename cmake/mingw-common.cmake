# Shared part of the two mingw-w64 toolchain files. WENDLE_TRIPLE is set by the caller.
set(CMAKE_C_COMPILER   ${WENDLE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WENDLE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${WENDLE_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${WENDLE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs each test program of either width through scripts/wine-run.sh
# (a 32-bit one needs wine32, which scripts/test.sh installs where 32-bit
# code runs).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
