# What `cmake --install` puts where a Linux desktop looks for it: the two programs, the menu
# entry, the icon in the hicolor theme, the AppStream metainfo for software centres, the
# manual pages and the licence.
include(GNUInstallDirs)

install(TARGETS calvira calvira-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(calvira_desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${calvira_desktop}/calvira.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The release entry carries the project's version, so it cannot drift from --version.
configure_file(${calvira_desktop}/calvira.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/calvira.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/calvira.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(calvira_icons ${PROJECT_SOURCE_DIR}/resources/icons)
foreach(size 48 64 128 256)
  install(FILES ${calvira_icons}/calvira-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME calvira.png)
endforeach()
install(FILES ${calvira_icons}/calvira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages are installed compressed, as man-db expects; -n keeps the name and time out of the
# archive so that two builds give the same bytes.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(calvira_man_pages)
foreach(page calvira.1 calvira-data.1)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page})
  set(copy ${PROJECT_BINARY_DIR}/man/${page})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                     COMMAND ${GZIP_EXECUTABLE} -9nf ${copy}
                     DEPENDS ${source}
                     COMMENT "Compressing the manual page ${page}")
  list(APPEND calvira_man_pages ${copy}.gz)
endforeach()
add_custom_target(calvira-man ALL DEPENDS ${calvira_man_pages})
install(FILES ${calvira_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# CMAKE_INSTALL_DOCDIR would take the project's name, "Calvira"; the package is "calvira".
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/calvira)
