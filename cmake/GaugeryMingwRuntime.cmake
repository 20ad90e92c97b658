# The runtime DLLs of the mingw-w64 toolchain (C++ library, GCC's support library, POSIX
# threads), copied beside the programs of a cross build on every build: a program that
# cannot find them exits at once, under Wine with code 53 and without a word.
#
# Linking them in statically is no way out: each of our DLLs would then carry its own
# unwinder, and with the DWARF unwinding of the 32-bit toolchain an exception thrown in
# one DLL could not reach a handler in another module.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(gcc_support_dll libgcc_s_seh-1.dll)
else()
  set(gcc_support_dll libgcc_s_dw2-1.dll)
endif()
set(runtime_dlls)
foreach(dll libstdc++-6.dll ${gcc_support_dll} libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no runtime DLL ${dll}: is mingw-w64 complete?")
  endif()
  list(APPEND runtime_dlls ${path})
endforeach()
add_custom_target(GaugeryMingwRuntime ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime_dlls} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMENT "Copying the mingw-w64 runtime DLLs beside the programs")
