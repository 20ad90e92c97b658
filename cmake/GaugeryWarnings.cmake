# Warnings for the project's own targets: gaugery_warnings(<target>).
function(gaugery_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
endfunction()
