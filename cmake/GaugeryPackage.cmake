# `make package`: Debian packages through CPack, one per installed component.
#   libgaugery1      the run-time libraries
#   libgaugery-dev   headers, find_package(Gaugery) and pkg-config files
#   gaugery          the command-line program, its manual page and bash completion
#   gaugery-gui      Brindle, the designer and its plug-in
# and NAME-dbgsym, the debug information of each package with programs or libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gaugery)
set(CPACK_PACKAGE_VENDOR "The Gaugery developers")
set(CPACK_PACKAGE_CONTACT "The Gaugery developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Performance counters in the Windows performance-data format, with live Linux data")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${GAUGERY_PACKAGE_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds our own libraries in the build tree, before they are installed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The programs and libraries ship stripped; their debug information goes into a
# NAME-dbgsym package beside each, found by build id as Debian's debug packages are. The
# generator strips them itself once it has taken the debug information out (with
# CPACK_STRIP_FILES there would be none left to take).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libgaugery1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# ICU is loaded when first used rather than linked, so dpkg-shlibdeps does not see it.
if(NOT WIN32)
  find_package(ICU REQUIRED COMPONENTS uc)
  string(REGEX MATCH "^[0-9]+" GAUGERY_ICU_MAJOR "${ICU_VERSION}")
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libicu${GAUGERY_ICU_MAJOR}")
endif()
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libgaugery-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libicu-dev")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME gaugery)
set(CPACK_DEBIAN_GUI_PACKAGE_NAME gaugery-gui)

set(CPACK_COMPONENTS_ALL runtime development tools)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
if(GAUGERY_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL gui)
  set(CPACK_COMPONENT_GUI_DEPENDS runtime)
endif()

include(CPack)
