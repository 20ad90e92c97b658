# gaugery_library_objects(<target> <building-define>): the objects of one of the two
# libraries. Compiled with hidden symbols, so that the shared library exports only
# what its headers mark with its API macro (framework/LibraryExport.h); the define tells
# the headers which library is being built.
function(gaugery_library_objects target building)
  gaugery_warnings(${target})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${target} PRIVATE ${building})
endfunction()
