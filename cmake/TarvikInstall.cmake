# Installation of what the programs ship beside themselves: the pages the program links to,
# the desktop menu entry and the README. tarvik-scan and tarvik install themselves.
include(GNUInstallDirs)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/site/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvik/site)

if(TARGET tarvik)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/tarvik.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
