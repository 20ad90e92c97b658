# GaugeryJson: nlohmann-json, header only. Debian installs it for the host; the cross
# toolchains cannot search /usr/include, so they get a directory holding only it.
add_library(GaugeryJson INTERFACE)
if(CMAKE_CROSSCOMPILING)
  find_path(GAUGERY_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(only_json ${CMAKE_BINARY_DIR}/json-include)
  file(MAKE_DIRECTORY ${only_json})
  file(CREATE_LINK ${GAUGERY_JSON_DIR}/nlohmann ${only_json}/nlohmann SYMBOLIC)
  target_include_directories(GaugeryJson SYSTEM INTERFACE ${only_json})
else()
  find_package(nlohmann_json 3.10 REQUIRED)
  target_link_libraries(GaugeryJson INTERFACE nlohmann_json::nlohmann_json)
endif()
