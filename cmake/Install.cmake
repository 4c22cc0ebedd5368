# Installing into standard places, and the Debian package made from the same rules.
include(GNUInstallDirs)

install(TARGETS pyatnushki RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pyatnushki_sound LIBRARY DESTINATION ${PYATNUSHKI_MODULE_DIR})
# The program's folder, less the binary and the menu icons, which have places of their own.
set(PYATNUSHKI_FOLDER ${CMAKE_INSTALL_DATADIR}/pyatnushki)
install(DIRECTORY ${PYATNUSHKI_STAGE_DIR}/data DESTINATION ${PYATNUSHKI_FOLDER})
foreach(file fon.mid kn.wav peep.wav beep.wav pyatnushki.html pyatnushki.png sun.png welcome1.png welcome2.png welcome3.png
        LICENSES.md)
  install(FILES ${PYATNUSHKI_STAGE_DIR}/${file} DESTINATION ${PYATNUSHKI_FOLDER})
endforeach()
install(DIRECTORY ${PYATNUSHKI_STAGE_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/ru.pyatnushki.pyatnushki.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/ru.pyatnushki.pyatnushki.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Licences and credits; the package's copyright and changelog as Debian expects them.
set(PYATNUSHKI_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${PYATNUSHKI_CHANGELOG_GZ}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/assets/debian/changelog > ${PYATNUSHKI_CHANGELOG_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/assets/debian/changelog
  VERBATIM)
add_custom_target(changelog_gz ALL DEPENDS ${PYATNUSHKI_CHANGELOG_GZ})
install(FILES ${PROJECT_SOURCE_DIR}/assets/LICENSES.md ${PROJECT_SOURCE_DIR}/assets/debian/copyright
  ${PYATNUSHKI_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(PYATNUSHKI_MANPAGE_GZ ${PROJECT_BINARY_DIR}/pyatnushki.1.gz)
add_custom_command(OUTPUT ${PYATNUSHKI_MANPAGE_GZ}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/assets/debian/pyatnushki.1 > ${PYATNUSHKI_MANPAGE_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/assets/debian/pyatnushki.1
  VERBATIM)
add_custom_target(manpage_gz ALL DEPENDS ${PYATNUSHKI_MANPAGE_GZ})
install(FILES ${PYATNUSHKI_MANPAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pyatnushki)
set(CPACK_PACKAGE_VENDOR "Pyatnushki")
set(CPACK_PACKAGE_CONTACT "Pyatnushki developers <pyatnushki@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colouring book with animals for children")
set(CPACK_PACKAGE_DESCRIPTION "A colouring book for children of five to ten, with a Russian interface:
animal pictures to colour with a fill, pencils, circles and rectangles, a
gallery of 36 pictures, printing, five animal tales to illustrate page by page
and three small recess games.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY pyatnushki)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/pyatnushki")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program needs besides the libraries it links: the platform plugin,
# the free faces of its font map, and a General MIDI soundfont for its music.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, fonts-liberation2, fonts-urw-base35, fonts-roboto-unhinted, fonts-ebgaramond, fonts-sil-andika, fonts-dejavu-core, libfluidsynth3, timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
