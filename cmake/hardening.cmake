# The hardening every program we ship is built with, in one place. What applies depends on the
# target system, not on the backend:
#   ELF (the native builds, amd64 and arm64): glibc's checked string and memory functions
#     (_FORTIFY_SOURCE, which needs optimisation to see object sizes), canaries in functions
#     with arrays or address-taken locals, a position-independent executable, and a relocation
#     table made read-only once the loader is done with it (RELRO with immediate binding), the
#     flags dpkg-buildflags gives Debian's own packages.
#   PE (the Windows build): the image may be loaded at any address, including above 4 GiB, and
#     its data is never executable (ASLR with high entropy, DEP). mingw's ld sets none of these
#     for executables by default; Windows only applies them to images that ask.
# The arithmetic flags (-ffp-contract=off) are not hardening and stay in the top-level list:
# nothing here changes how a floating-point expression is evaluated.
if(WIN32)
  add_link_options(LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT VURAZEVEDADAR_BACKEND STREQUAL "headless")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  add_compile_options(-fstack-protector-strong)
  # Unoptimised builds (none of ours ships one) would only get glibc's warning that the checks
  # are off, which -Werror turns into a failure; optimised ones get the checks.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
