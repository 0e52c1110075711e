# Cross-compiles the Windows program and its tests with MinGW-w64. ZARVO_ARCH
# is i686 for the shipped 32-bit program (the default) or x86_64 for the same
# sources on machines whose kernel runs no 32-bit code.
# The posix thread model is used because GoogleTest needs std::mutex; the shipped
# program uses no C++ threading, so nothing of winpthreads is linked into it.
if(NOT DEFINED ZARVO_ARCH)
  set(ZARVO_ARCH i686)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARVO_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZARVO_ARCH})

set(CMAKE_C_COMPILER   ${ZARVO_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZARVO_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${ZARVO_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZARVO_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under the Wine of the same architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec --arch=${ZARVO_ARCH})
