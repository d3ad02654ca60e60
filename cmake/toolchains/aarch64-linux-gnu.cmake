# Cross build for arm64 Linux with Debian's g++-aarch64-linux-gnu. The libraries come from a
# sysroot of unpacked arm64 packages (cmake/toolchains/make-arm64-sysroot.sh, default
# build/arm64-sysroot, or $VEXLOWEB_SYSROOT); programs run under qemu-user, which also runs
# the tests, their discovery and every program a test starts.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

if(DEFINED ENV{VEXLOWEB_SYSROOT})
  set(vexloweb_sysroot "$ENV{VEXLOWEB_SYSROOT}")
else()
  get_filename_component(vexloweb_sysroot "${CMAKE_CURRENT_LIST_DIR}/../../build/arm64-sysroot"
                         ABSOLUTE)
endif()
# A host may add roots of its own (-DCMAKE_FIND_ROOT_PATH=DIR): an installed package, say.
set(CMAKE_FIND_ROOT_PATH "${vexloweb_sysroot}" /usr/aarch64-linux-gnu ${CMAKE_FIND_ROOT_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The linker looks for the shared libraries' own dependencies in the sysroot too.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-Wl,-rpath-link,${vexloweb_sysroot}/usr/lib/aarch64-linux-gnu")
set(CMAKE_SHARED_LINKER_FLAGS_INIT
    "-Wl,-rpath-link,${vexloweb_sysroot}/usr/lib/aarch64-linux-gnu")

# -cpu max: the ARMv8 crypto and NEON paths that phones take.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -cpu max -L /usr/aarch64-linux-gnu
    -E "LD_LIBRARY_PATH=${vexloweb_sysroot}/usr/lib/aarch64-linux-gnu")
