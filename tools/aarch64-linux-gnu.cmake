# Cross build for arm64 with Debian's cross compiler and the arm64 development packages
# (multiarch, under /usr/lib/aarch64-linux-gnu); the tests run under qemu-user. See README.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# Libraries, headers and CMake packages come from the cross compiler's tree and the multiarch
# arm64 folders under / (lib/aarch64-linux-gnu, by the architecture above), never from the
# build machine's own library folders; programs are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# qemu-user runs the arm64 programs (no binfmt registration needed) with the loader and C
# library of libc6:arm64. Not "-L /usr/aarch64-linux-gnu": the cross compiler's C library there
# may be another release than libc6:arm64, and its loader with that libc hangs at the first thread.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
# pkg-config (FindCURL asks it first) must answer with the arm64 packages only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
unset(ENV{PKG_CONFIG_PATH})
