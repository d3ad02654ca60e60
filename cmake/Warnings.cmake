# Strict warnings for the project's own targets only; third-party headers are SYSTEM includes.
function(vexloweb_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
