# Strict warnings for the project's own targets only; third-party headers are SYSTEM includes.
# VEXLOWEB_WERROR (on in the presets and CI, off by default) makes them errors, so a host's build
# with a newer compiler is never stopped by a warning of ours.
function(vexloweb_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VEXLOWEB_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
