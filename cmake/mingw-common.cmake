# Shared part of the mingw-w64 toolchain files; QUOR_MINGW_TRIPLE names the target.
# The win32 thread model keeps the programs free of the winpthreads DLL.
set(CMAKE_C_COMPILER ${QUOR_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QUOR_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${QUOR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
