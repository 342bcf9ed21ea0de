# `cmake --install build --prefix PREFIX` and the Debian package (scripts/package.sh): the two
# programs, the desktop entry, the icons, the AppStream metainfo, the iNES file type and the
# manual pages, which are made from the programs' own --help.
include(GNUInstallDirs)

set(KORVANE_APP_ID io.github.korvane.Korvane)
set(packaging ${PROJECT_SOURCE_DIR}/resources/packaging)

install(TARGETS korvane korvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/${KORVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging}/${KORVANE_APP_ID}.metainfo.xml
  ${PROJECT_BINARY_DIR}/packaging/${KORVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${KORVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/${KORVANE_APP_ID}.mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${KORVANE_APP_ID}.xml)
# Every size the artwork has; there is no scalable picture.
file(GLOB icons RELATIVE ${PROJECT_SOURCE_DIR}/resources/icons
  ${PROJECT_SOURCE_DIR}/resources/icons/korvane-*.png)
foreach(icon IN LISTS icons)
  string(REGEX REPLACE "korvane-([0-9]+)\\.png" "\\1" size ${icon})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${icon}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${KORVANE_APP_ID}.png)
endforeach()

# The manual pages: each program's --help, laid out as a page.
set(man_pages)
foreach(program korvane korvane-cli)
  if(program STREQUAL "korvane")
    set(summary "level editor for a NES game's cartridge image")
  else()
    set(summary "the Korvane level editor's cartridge model from the command line")
  endif()
  set(page ${PROJECT_BINARY_DIR}/packaging/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:${program}> --help
      > ${page}.help
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/help-to-man.sh ${program} 1 ${summary}
      ${PROJECT_VERSION} < ${page}.help > ${page}
    COMMAND gzip -9nf ${page}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/scripts/help-to-man.sh
    COMMENT "Manual page ${program}(1)"
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(korvane_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: korvane_VERSION_ARCH.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvane developers")
set(CPACK_PACKAGE_CONTACT "The Korvane developers <korvane-dev@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Level editor for a NES game's cartridge image")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Korvane opens the game's iNES cartridge image, shows its 16 levels and edits their\n"
  "tiles, blocks, assemblies, rooms, hallways, enemy placements and palettes, and saves\n"
  "them back into the same file byte for byte. korvane-cli does the same from scripts.")
set(CPACK_DEBIAN_PACKAGE_NAME korvane)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/package)
include(CPack)
