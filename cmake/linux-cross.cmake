# Cross-compiles for another Linux machine with Debian's cross g++. What the
# build runs (tests, test discovery) runs natively where this machine's kernel
# can run the target's programs, and under qemu's user-mode emulator where it
# cannot. The preset sets CMAKE_SYSTEM_PROCESSOR to i686 or aarch64.
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
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The target's programs start through the dynamic loader of Debian's cross C
# library, given that library's folder, so that loader and C library are one
# build (a loader and a C library from different packages can hang a program
# as it starts a thread). The loader is itself a program of the target: if the
# kernel runs it, it runs the tests natively; if not, qemu runs them, its -L
# pointing at the same folder. Either way a preloaded library meant for the
# program (the tests' frozen clock) comes through the environment. The choice
# is kept in the cache, where .ci/cross-check reads it to run the program.
set(target_root /usr/${triple})
file(GLOB loader ${target_root}/lib/ld-linux*.so.*)
execute_process(COMMAND ${loader} --version RESULT_VARIABLE loader_status
                OUTPUT_QUIET ERROR_QUIET)
if(loader_status EQUAL 0)
  set(runner ${loader} --library-path ${target_root}/lib)
  set(how "natively: this kernel runs ${loader}")
else()
  # The static qemu, so that the preloaded library is not loaded into qemu itself.
  set(runner ${qemu} -L ${target_root})
  set(how "under ${qemu}: this kernel cannot run ${loader}")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${runner} CACHE STRING "How this machine runs the target's programs" FORCE)
message(STATUS "${CMAKE_SYSTEM_PROCESSOR} programs run ${how}")
# GoogleTest is built for the target from the sources in Debian's libgtest-dev.
set(PROJECTILE_GTEST_SOURCE /usr/src/googletest)
