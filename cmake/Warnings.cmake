# Strict warnings for the project's own targets only; third-party headers are SYSTEM includes.
# VEXLOWEB_WERROR (on in the presets and CI, off by default) makes them errors, so a host's build
# with a newer compiler is never stopped by a warning of ours.
function(vexloweb_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VEXLOWEB_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# g++ 12 at -O3 warns that `"literal" + std::string` may overlap in memcpy (-Wrestrict, GCC bug
# 105651, fixed in 13): a false positive inside libstdc++ that string building in tests and in
# the shell meets. The library itself avoids the pattern instead.
function(vexloweb_quiet_gcc12_restrict target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
