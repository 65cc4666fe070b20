# The Debian package (make package, or cpack in the build folder): everything cmake --install
# installs, under /usr, as build/tarvik_VERSION_ARCH.deb. Its dependencies are found by
# dpkg-shlibdeps from the programs' shared libraries, so a build without the desktop gives a
# package that needs no Qt.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvik project")
set(CPACK_PACKAGE_CONTACT "Tarvik project office <tarvik-office@ostrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checker for ICARTT atmospheric data files")
# The long description, one line of the control file per line here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tarvik checks ICARTT data files, the comma-delimited text format in which"
  "airborne, ground, satellite and model measurements of the atmosphere are"
  "exchanged, and writes an HTML report beside each file: the file name, the"
  "line ends, the header and every data line are checked."
  ""
  "tarvik-scan scans files and folders from the command line, for batch,"
  "pipeline and CI use. The desktop program tarvik, when it is built, scans a"
  "file in a window and plots its values.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarvik.ostrel.example")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The architecture as dpkg names it (amd64 on x86-64), which is also the file name's.
find_program(TARVIK_DPKG dpkg)
set(TARVIK_DEB_ARCHITECTURE amd64)
if(TARVIK_DPKG)
  execute_process(COMMAND ${TARVIK_DPKG} --print-architecture
    OUTPUT_VARIABLE TARVIK_DEB_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TARVIK_DEB_ARCHITECTURE})
set(TARVIK_DEB_FILE_NAME tarvik_${PROJECT_VERSION}_${TARVIK_DEB_ARCHITECTURE}.deb)
set(CPACK_DEBIAN_FILE_NAME ${TARVIK_DEB_FILE_NAME})

include(CPack)
