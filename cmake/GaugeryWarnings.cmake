# Warnings for the project's own targets: gaugery_warnings(<target>).
function(gaugery_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 of the cross toolchains takes "text" + std::string&& for an overlapping copy
    # once inlined (a false positive fixed in GCC 13).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
