# Install rules, the CMake package `Gaugery` and the pkg-config file `gaugery.pc`.
#
# Installed layout (GNUInstallDirs):
#   lib/libGaugeryPlatform.so.1, lib/libGaugeryRuntime.so.1   the run-time libraries
#   include/gaugery/                                          the public headers, included
#                                                             as <gaugery/PerfData.h>
#   lib/cmake/Gaugery/                                        find_package(Gaugery)
#   lib/pkgconfig/gaugery.pc                                  pkg-config --cflags --libs gaugery
#   bin/gaugery, bin/brindle, bin/gaugery-designer            the programs
#   lib/gaugery/                                              the designer plug-in
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GAUGERY_INCLUDE_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/gaugery)
set(GAUGERY_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Gaugery)
set(GAUGERY_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/gaugery)
# Where the Debian packages install (GaugeryPackage.cmake).
set(GAUGERY_PACKAGE_PREFIX /usr)

# The libraries, as the imported targets Gaugery::Platform and Gaugery::Runtime.
set_target_properties(GaugeryPlatform PROPERTIES EXPORT_NAME Platform)
set_target_properties(GaugeryRuntime PROPERTIES EXPORT_NAME Runtime)
install(TARGETS GaugeryPlatform GaugeryRuntime
  EXPORT GaugeryTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The public headers: the run-time units, the framework, and of the registry and the
# providers what the libraries export (the registry calls, the block records and their
# check, the provider seam, the replay of captures and the name tables, the counter logs'
# writer and reader). The Windows header wrapper, the virtual registry and the /proc
# provider stay private. They are staged in the build tree with their includes of each
# other rewritten (GaugeryHeaderCopy), then installed from there.
set(GAUGERY_STAGED_HEADERS_DIR ${PROJECT_BINARY_DIR}/include/gaugery)
set(GAUGERY_STAGED_HEADERS)

# gaugery_public_headers(FOLDER SUBDIR HEADER...): FOLDER/HEADER installed as
# include/gaugery/SUBDIR/HEADER (SUBDIR "." for the top).
function(gaugery_public_headers folder subdir)
  set(staged)
  foreach(header IN LISTS ARGN)
    set(target ${GAUGERY_STAGED_HEADERS_DIR}/${subdir}/${header})
    add_custom_command(OUTPUT ${target}
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${folder}/${header} -DTARGET=${target}
        -P ${PROJECT_SOURCE_DIR}/cmake/GaugeryHeaderCopy.cmake
      DEPENDS ${folder}/${header} ${PROJECT_SOURCE_DIR}/cmake/GaugeryHeaderCopy.cmake
      VERBATIM)
    list(APPEND staged ${target})
  endforeach()
  install(FILES ${staged} DESTINATION ${GAUGERY_INCLUDE_INSTALL_DIR}/${subdir}
    COMPONENT development)
  set(GAUGERY_STAGED_HEADERS ${GAUGERY_STAGED_HEADERS} ${staged} PARENT_SCOPE)
endfunction()

file(GLOB runtime_headers RELATIVE ${PROJECT_SOURCE_DIR}/runtime CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/runtime/*.h)
gaugery_public_headers(${PROJECT_SOURCE_DIR}/runtime . ${runtime_headers})
set(framework ${PROJECT_SOURCE_DIR}/platform/framework)
file(GLOB framework_headers RELATIVE ${framework} CONFIGURE_DEPENDS ${framework}/*.h)
list(REMOVE_ITEM framework_headers WindowsApi.h)
gaugery_public_headers(${framework} framework ${framework_headers})
gaugery_public_headers(${PROJECT_SOURCE_DIR}/platform/registry registry
  Registry.h PerfDataRecords.h PerfBlockCheck.h PerfProviders.h PerfValueName.h
  RemoteAddress.h RemoteProtocol.h WideText.h)
gaugery_public_headers(${PROJECT_SOURCE_DIR}/platform/perf perf ReplayProvider.h ObjectNames.h)
if(GAUGERY_LINUX)
  # The /proc provider, which a program can also set to serve a tree captured elsewhere.
  gaugery_public_headers(${PROJECT_SOURCE_DIR}/platform/perf/proc perf/proc
    ProcProvider.h MachineFacts.h SampleClock.h)
endif()
gaugery_public_headers(${PROJECT_SOURCE_DIR}/platform/perf/log perf/log
  CounterLog.h CounterLogReader.h CounterLogWriter.h)
add_custom_target(gaugery_public_headers ALL DEPENDS ${GAUGERY_STAGED_HEADERS})

install(EXPORT GaugeryTargets
  NAMESPACE Gaugery::
  DESTINATION ${GAUGERY_CMAKE_INSTALL_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/GaugeryConfig.cmake.in
  ${PROJECT_BINARY_DIR}/GaugeryConfig.cmake
  INSTALL_DESTINATION ${GAUGERY_CMAKE_INSTALL_DIR})
# Versions with the same major number keep the interface: 1.2 serves a request for 1.0.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/GaugeryConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/GaugeryConfig.cmake
  ${PROJECT_BINARY_DIR}/GaugeryConfigVersion.cmake
  DESTINATION ${GAUGERY_CMAKE_INSTALL_DIR} COMPONENT development)

if(NOT WIN32)
  file(RELATIVE_PATH GAUGERY_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/gaugery.pc.in ${PROJECT_BINARY_DIR}/gaugery.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/gaugery.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endif()

# The programs.
install(TARGETS gaugery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  # The manual page is written from the program's own help texts.
  set(manpage ${PROJECT_BINARY_DIR}/man/gaugery.1)
  add_custom_command(OUTPUT ${manpage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/manpage.sh $<TARGET_FILE:gaugery> ${PROJECT_VERSION}
      ${GAUGERY_PACKAGE_PREFIX}/${CMAKE_INSTALL_DOCDIR} > ${manpage}
    DEPENDS gaugery ${PROJECT_SOURCE_DIR}/scripts/manpage.sh
    COMMENT "Writing the manual page gaugery(1)")
  add_custom_target(gaugery_manpage ALL DEPENDS ${manpage})
  install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/cli/completion/gaugery.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME gaugery COMPONENT tools)
endif()
# `gaugery serve` as a service: installed, not enabled or started. The unit names the
# program where this prefix puts it (the file in deploy/ assumes /usr/local).
if(GAUGERY_LINUX)
  install(CODE "
    file(READ [[${PROJECT_SOURCE_DIR}/deploy/gaugery-serve.service]] unit)
    string(REPLACE /usr/local/bin/ \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\" unit \"\${unit}\")
    file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/system/gaugery-serve.service\" \"\${unit}\")
    message(STATUS \"Installing: \${CMAKE_INSTALL_PREFIX}/lib/systemd/system/gaugery-serve.service\")"
    COMPONENT tools)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
if(GAUGERY_BUILD_GUI)
  install(TARGETS brindle gaugery-designer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  install(TARGETS GaugeryDesign LIBRARY DESTINATION ${GAUGERY_PLUGIN_INSTALL_DIR} COMPONENT gui)
endif()
