# Installs the headers, the library, a CMake package (VexloWebLib::vexloweb) and vexloweb.pc.
include(CMakePackageConfigHelpers)

set(vexloweb_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/VexloWebLib)
install(TARGETS vexloweb EXPORT VexloWebLibTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The GTK layer's headers only with the GTK layer: a host without it sees no GTK anywhere.
if(TARGET vexloweb_gtk)
  set(vexloweb_header_filter "")
else()
  set(vexloweb_header_filter PATTERN "gtk" EXCLUDE PATTERN "gtk.hpp" EXCLUDE)
endif()
install(DIRECTORY include/vexloweb ${PROJECT_BINARY_DIR}/generated/include/vexloweb
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${vexloweb_header_filter})
install(EXPORT VexloWebLibTargets NAMESPACE VexloWebLib:: DESTINATION ${vexloweb_cmake_dir})
if(TARGET vexloweb_gtk)
  install(TARGETS vexloweb_gtk EXPORT VexloWebLibGtkTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(EXPORT VexloWebLibGtkTargets NAMESPACE VexloWebLib:: DESTINATION ${vexloweb_cmake_dir})
endif()

# The package finds what a static library needs from the host's machine itself.
if(BUILD_SHARED_LIBS)
  set(VEXLOWEB_PACKAGE_SHARED ON)
else()
  set(VEXLOWEB_PACKAGE_SHARED OFF)
endif()
configure_package_config_file(cmake/VexloWebLibConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VexloWebLibConfig.cmake INSTALL_DESTINATION ${vexloweb_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VexloWebLibConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VexloWebLibConfig.cmake
              ${PROJECT_BINARY_DIR}/VexloWebLibConfigVersion.cmake
              cmake/modules/VexloWebImportLibrary.cmake cmake/modules/FindVexloWebNettle.cmake
              cmake/modules/FindVexloWebUtf8proc.cmake
        DESTINATION ${vexloweb_cmake_dir})

# pkg-config: the prefix is found from the .pc file's own place, so the install can move; a
# static library lists what it links in Libs.private and Requires.private (pkg-config --static).
file(RELATIVE_PATH vexloweb_pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" vexloweb_pc_to_prefix "${vexloweb_pc_to_prefix}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(vexloweb_pc_libdir "${CMAKE_INSTALL_LIBDIR}")
else()
  set(vexloweb_pc_libdir "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(vexloweb_pc_includedir "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(vexloweb_pc_includedir "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
# A shared library's users need nothing of its dependencies, not even their .pc files.
if(BUILD_SHARED_LIBS)
  set(vexloweb_pc_cflags "")
  set(vexloweb_pc_private "")
else()
  set(vexloweb_pc_cflags " -DVEXLOWEB_STATIC_DEFINE")
  set(vexloweb_pc_private
      "Requires.private: nettle libutf8proc sqlite3 simdjson\nLibs.private: -lstdc++ -lm")
endif()
configure_file(cmake/vexloweb.pc.in ${PROJECT_BINARY_DIR}/vexloweb.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vexloweb.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(TARGET vexloweb_gtk)
  if(BUILD_SHARED_LIBS)
    set(vexloweb_gtk_pc_cflags "")
  else()
    set(vexloweb_gtk_pc_cflags " -DVEXLOWEB_GTK_STATIC_DEFINE")
  endif()
  configure_file(cmake/vexloweb-gtk.pc.in ${PROJECT_BINARY_DIR}/vexloweb-gtk.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/vexloweb-gtk.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

# The man pages (from scdoc sources, when scdoc is there), shell completion where Debian's shells
# look for it, and the Python module beside a shared library (ctypes needs one).
find_program(VEXLOWEB_SCDOC scdoc)
set(vexloweb_man_pages "")
if(TARGET vexloweb_cli)
  list(APPEND vexloweb_man_pages vexloweb)
endif()
if(TARGET vexloweb_shell)
  list(APPEND vexloweb_man_pages vexloweb-shell)
endif()
if(VEXLOWEB_SCDOC)
  foreach(page ${vexloweb_man_pages})
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${VEXLOWEB_SCDOC} < ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd
              > ${PROJECT_BINARY_DIR}/man/${page}.1
      DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd VERBATIM)
    list(APPEND vexloweb_man_outputs ${PROJECT_BINARY_DIR}/man/${page}.1)
  endforeach()
  if(vexloweb_man_outputs)
    add_custom_target(vexloweb_man ALL DEPENDS ${vexloweb_man_outputs})
    install(FILES ${vexloweb_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
elseif(vexloweb_man_pages)
  message(STATUS "scdoc not found: the man pages are not built")
endif()
if(TARGET vexloweb_cli)
  install(FILES completions/vexloweb.bash RENAME vexloweb
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES completions/_vexloweb DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
  install(FILES completions/vexloweb.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
endif()
if(TARGET vexloweb_shell)
  install(FILES completions/vexloweb.bash RENAME vexloweb-shell
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES completions/vexloweb-shell.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
endif()
set(VEXLOWEB_PYTHON_DIR "lib/python3/dist-packages" CACHE STRING
    "Where the Python module is installed, under the prefix")
if(BUILD_SHARED_LIBS)
  install(FILES bindings/python/vexloweb.py DESTINATION ${VEXLOWEB_PYTHON_DIR})
endif()
