# Cross-compiles for another Linux machine with Debian's cross g++, and runs
# what the build made (tests, test discovery) under qemu's user-mode emulator.
# The preset sets CMAKE_SYSTEM_PROCESSOR to i686 or aarch64.
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

# The static qemu, so that a preloaded library meant for the program (the
# tests' frozen clock) is not loaded into qemu itself; -L finds the target's
# C library and loader where Debian's cross packages put them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu} -L /usr/${triple})
# GoogleTest is built for the target from the sources in Debian's libgtest-dev.
set(PROJECTILE_GTEST_SOURCE /usr/src/googletest)
