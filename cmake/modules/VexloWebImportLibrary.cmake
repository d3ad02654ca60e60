# vexloweb_import_library(<package> <target> <header> <library> <debian package>): finds a library
# that ships no CMake package, makes the imported target <target> and sets <package>_FOUND. The
# paths are found without cache entries inside a function, so a host that finds our package sees no
# variables but <package>_FOUND.
include_guard(GLOBAL)
include(FindPackageHandleStandardArgs)

function(vexloweb_import_library package target header library debian_package)
  if(NOT TARGET ${target})
    find_path(include_dir ${header} NO_CACHE)
    find_library(library_file ${library} NO_CACHE)
    if(include_dir AND library_file)
      add_library(${target} UNKNOWN IMPORTED)
      set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${library_file}"
                                                 INTERFACE_INCLUDE_DIRECTORIES "${include_dir}")
    endif()
  endif()
  if(TARGET ${target})
    set(found_target ${target})
  endif()
  find_package_handle_standard_args(${package} REQUIRED_VARS found_target
                                    REASON_FAILURE_MESSAGE "install ${debian_package}")
  set(${package}_FOUND ${${package}_FOUND} PARENT_SCOPE)
endfunction()
