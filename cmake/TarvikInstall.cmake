# Installation of what the programs ship beside themselves: the pages the program links to,
# the manual pages, the desktop menu entry with its icon and the README. tarvik-scan and tarvik
# install themselves.
include(GNUInstallDirs)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/site/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvik/site)

# The manual pages of the programs built: each is made (with the version, gzipped when gzip is
# at hand) in build/man/ by the build, and installed to share/man/man1.
set(TARVIK_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/tarvik-scan.1)
if(TARGET tarvik)
  list(APPEND TARVIK_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/tarvik.1)
endif()
find_program(TARVIK_GZIP gzip)
set(TARVIK_BUILT_MAN_PAGES)
foreach(page ${TARVIK_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  set(out ${PROJECT_BINARY_DIR}/man/${name})
  set(built ${out})
  if(TARVIK_GZIP)
    set(built ${out}.gz)
  endif()
  add_custom_command(OUTPUT ${built}
    COMMAND ${CMAKE_COMMAND} -DPAGE=${page} -DOUT=${out} -DVERSION=${PROJECT_VERSION} -DGZIP=${TARVIK_GZIP}
      -P ${PROJECT_SOURCE_DIR}/cmake/TarvikManPage.cmake
    DEPENDS ${page} ${PROJECT_SOURCE_DIR}/cmake/TarvikManPage.cmake
    COMMENT "Manual page ${name}")
  list(APPEND TARVIK_BUILT_MAN_PAGES ${built})
endforeach()
add_custom_target(tarvik_man_pages ALL DEPENDS ${TARVIK_BUILT_MAN_PAGES})
install(FILES ${TARVIK_BUILT_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop menu entry and its icon (Icon=tarvik): the SVG, and PNGs rendered from it by
# scripts/render-icon for desktops that show no SVG.
if(TARGET tarvik)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/tarvik.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/icons/tarvik.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 64 128)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/icons/tarvik-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tarvik.png)
  endforeach()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
