# Cross-compiles a Windows console program with Debian's mingw-w64. The preset
# sets CMAKE_SYSTEM_PROCESSOR to x86_64 or i686, which picks the compiler.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|i686)$")
  message(FATAL_ERROR "CMAKE_SYSTEM_PROCESSOR must be x86_64 or i686")
endif()
# The checks CMake compiles for itself must see the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_SYSTEM_PROCESSOR)
set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

# The posix thread model, for std::thread and std::mutex (the sweep's threads,
# GoogleTest's locks); linked statically below, winpthreads needs no DLL.
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
# GoogleTest's project asks for C too.
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# libgcc and libstdc++ linked in: the .exe needs only what Windows has
# (KERNEL32.dll and msvcrt.dll).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # A 32-bit target would otherwise do double arithmetic on the x87 unit,
  # whose intermediate results carry 64-bit significands and round again when
  # stored: double rounding that changes the sixth printed digit now and then.
  # SSE2 rounds every operation to double exactly as the 64-bit builds do.
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
endif()

# The tests run under wine, in a prefix of the build folder's own. 32-bit
# wine is itself a 32-bit x86 program: where the kernel refuses those, the
# 32-bit build's tests are reported skipped, with the reason.
set(native TRUE)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # 32-bit wine (Debian's wine32:i386) may be missing too: its i386
  # packages can lag behind on a mirror, and CI then goes on without it.
  if(EXISTS /usr/lib/wine/wine)
    include(${CMAKE_CURRENT_LIST_DIR}/runs-i386.cmake)
    runs_i386(/usr/lib/wine/wine native why)
  else()
    set(native FALSE)
    set(why "32-bit wine (wine32:i386) is not installed")
  endif()
endif()
if(native)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
  set(skipped "")
else()
  set(skipped "32-bit wine cannot run here: ${why}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/cannot-run "${skipped}")
  message(STATUS "The tests will be skipped: ${skipped}")
endif()
# Why this build's tests are skipped, if they are: .ci/run reports it.
set(PROJECTILE_TESTS_SKIPPED "${skipped}" CACHE INTERNAL "")
