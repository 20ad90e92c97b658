# GaugeryBoost: the header-only Boost libraries (Asio, Beast) of the HTTP library.
# Cross builds see only Boost, through a directory that holds nothing but a link to the
# system's Boost headers, so that the Windows compiler never reads the rest of
# /usr/include.
add_library(GaugeryBoost INTERFACE)
if(CMAKE_CROSSCOMPILING)
  find_path(GAUGERY_BOOST_HEADERS boost/version.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
    NO_DEFAULT_PATH REQUIRED)
  set(boost_only ${CMAKE_BINARY_DIR}/boost-only)
  file(MAKE_DIRECTORY ${boost_only})
  file(CREATE_LINK ${GAUGERY_BOOST_HEADERS}/boost ${boost_only}/boost SYMBOLIC)
  target_include_directories(GaugeryBoost SYSTEM INTERFACE ${boost_only})
else()
  find_path(GAUGERY_BOOST_HEADERS boost/beast.hpp REQUIRED)
  target_include_directories(GaugeryBoost SYSTEM INTERFACE ${GAUGERY_BOOST_HEADERS})
endif()
# Asio without its deprecated names; on Windows, against the system interfaces of
# Windows 7 and later.
target_compile_definitions(GaugeryBoost INTERFACE BOOST_ASIO_NO_DEPRECATED)
#
# The threads of Asio on Windows are the same POSIX threads (of winpthreads) in every
# file. Asio picks them only where a standard header has brought in <pthread.h> before
# its own, and Windows threads elsewhere; the two halves of one program then disagree
# on the layout of its event loop, and a loop's timer thread was never joined.
if(WIN32)
  target_compile_definitions(GaugeryBoost INTERFACE _WIN32_WINNT=0x0601 BOOST_ASIO_HAS_PTHREADS=1)
  target_link_libraries(GaugeryBoost INTERFACE ws2_32 mswsock)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(GaugeryBoost INTERFACE Threads::Threads)
endif()
