include(CMakePackageConfigHelpers)

install(TARGETS vexloweb EXPORT VexloWebLibTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/vexloweb DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT VexloWebLibTargets NAMESPACE VexloWebLib::
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/VexloWebLib)

configure_package_config_file(cmake/VexloWebLibConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VexloWebLibConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/VexloWebLib)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VexloWebLibConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VexloWebLibConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/VexloWebLibConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/VexloWebLib)

configure_file(cmake/vexloweb.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vexloweb.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexloweb.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
