# PkgConfig::HTTPLIB: the HTTP client the serve tests and the load benchmark scrape
# `gaugery serve` with, from outside the project's own HTTP library. Only they use it.
if(NOT TARGET PkgConfig::HTTPLIB)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET GLOBAL cpp-httplib)
endif()
