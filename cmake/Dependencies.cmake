# Every third-party library comes from a Debian 12 package (see the README). Nettle and utf8proc
# have no CMake package of their own: the find modules in cmake/modules make imported targets for
# them without leaving variables behind.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/modules)
find_package(simdjson CONFIG REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(VexloWebNettle MODULE REQUIRED)
find_package(VexloWebUtf8proc MODULE REQUIRED)
