# The same Windows x64 target as the mingw-w64 gcc build, compiled by clang
# against the mingw-w64 headers and libraries and gcc's libstdc++.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_SYSROOT /usr/x86_64-w64-mingw32)

# Debian names gcc's folder after its thread model ("12-win32"), which clang
# does not look for; the win32 model needs no pthread library.
file(GLOB mingw_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-win32)
list(SORT mingw_gcc_dirs COMPARE NATURAL)
list(GET mingw_gcc_dirs -1 mingw_gcc)
set(libstdcxx ${mingw_gcc}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${libstdcxx} ${libstdcxx}/x86_64-w64-mingw32 ${libstdcxx}/backward)
# lld, since GNU ld warns of every type name clang and gcc emit in different sizes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${mingw_gcc}")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
