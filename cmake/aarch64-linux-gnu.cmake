# Cross-compiles the native program for 64-bit ARM Linux on an amd64 Debian machine, with
# Debian's aarch64 toolchain (package g++-aarch64-linux-gnu) against the arm64 builds of the X
# and Wayland libraries that dpkg installs beside the machine's own (libx11-dev:arm64,
# libwayland-dev:arm64 and the rest, after dpkg --add-architecture arm64: scripts/deps
# package-arm64).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(toolchain_prefix aarch64-linux-gnu)
find_program(CMAKE_CXX_COMPILER NAMES ${toolchain_prefix}-g++ REQUIRED)
# The Wayland protocols' glue code is C.
find_program(CMAKE_C_COMPILER NAMES ${toolchain_prefix}-gcc REQUIRED)
# The multiarch directory: libraries are looked for in /usr/lib/aarch64-linux-gnu, never in the
# machine's own /usr/lib/x86_64-linux-gnu. The headers in /usr/include serve every architecture.
set(CMAKE_LIBRARY_ARCHITECTURE ${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# pkg-config reads the arm64 libraries' descriptions only, and the architecture-independent
# ones (wayland-protocols); its tools (wayland-scanner) are the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${toolchain_prefix}/pkgconfig:/usr/share/pkgconfig)
# Where the cross toolchain's own C and C++ runtime live, for running the program under
# qemu-aarch64-static (QEMU_LD_PREFIX).
set(VURAZEVEDADAR_TARGET_ROOT /usr/${toolchain_prefix})
