# Cross-compiles for another Linux machine with Debian's cross g++. What the
# build runs (its tests) runs natively where this machine's kernel can run the
# target's programs, and under qemu's user-mode emulator where it cannot. The
# preset sets CMAKE_SYSTEM_PROCESSOR to i686 or aarch64.
set(CMAKE_SYSTEM_NAME Linux)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(qemu qemu-i386-static)
  # As for 32-bit Windows: doubles in SSE2, not on the x87 unit, whose 64-bit
  # significands round twice.
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  set(qemu qemu-aarch64-static)
else()
  message(FATAL_ERROR "CMAKE_SYSTEM_PROCESSOR must be i686 or aarch64")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_SYSTEM_PROCESSOR)
set(triple ${CMAKE_SYSTEM_PROCESSOR}-linux-gnu)

set(CMAKE_CXX_COMPILER ${triple}-g++)
# GoogleTest's project asks for C too.
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The target's programs always start through the dynamic loader of Debian's
# cross C library, given that library's folder, so that loader and C library
# are one build: a loader and a C library from different packages (the host's
# multiarch i386 libc, which 32-bit wine brings) can hang a program as it
# starts a thread. The loader is itself a program of the target: where the
# kernel runs it, it runs the tests natively; where not, qemu runs the loader.
# Either way a preloaded library meant for the program (the tests' frozen
# clock) comes through the environment; the static qemu never loads it itself.
set(target_lib /usr/${triple}/lib)
file(GLOB loader ${target_lib}/ld-linux*.so.*)
include(${CMAKE_CURRENT_LIST_DIR}/runs-i386.cmake)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  runs_i386(${loader} native why)
else()
  set(native FALSE)
  set(why "this kernel cannot run ${loader}")
endif()
if(native)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${loader} --library-path ${target_lib})
  message(STATUS "${CMAKE_SYSTEM_PROCESSOR} programs run natively: ${why}")
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu} ${loader} --library-path ${target_lib})
  message(STATUS "${CMAKE_SYSTEM_PROCESSOR} programs run under ${qemu}: ${why}")
endif()
# GoogleTest is built for the target from the sources in Debian's libgtest-dev.
set(PROJECTILE_GTEST_SOURCE /usr/src/googletest)
