# Every third-party library comes from a Debian 12 package (see the README).
find_package(PkgConfig REQUIRED)
find_package(simdjson CONFIG REQUIRED)
find_package(SQLite3 REQUIRED)
pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)
pkg_check_modules(UTF8PROC REQUIRED IMPORTED_TARGET libutf8proc)
