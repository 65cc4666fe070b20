# Run by cpack for the package tests: the build tree's install rules, into cpack's staging folder
# (DESTDIR) under the package's prefix, the programs stripped as in the package. The tests run
# after the build, and nothing may be built while other tests run.
set(CMAKE_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CMAKE_INSTALL_DO_STRIP "${CPACK_STRIP_FILES}")
include("${TARVIK_PACKAGE_BUILD_DIR}/cmake_install.cmake")
