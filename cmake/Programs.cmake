# Installs a program so that, in a shared build, it finds our libraries beside it wherever the
# prefix moves ($ORIGIN-relative RPATH).
function(vexloweb_install_program target)
  if(NOT VEXLOWEB_INSTALL)
    return()
  endif()
  file(RELATIVE_PATH libdir_from_bindir ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${libdir_from_bindir}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
