# Installing the program as a Linux desktop program, and its Debian package.
#   cmake --install build --prefix /usr/local     (or cpack -G DEB in the build folder)
# Installed: quillon and quillon-mkdb, the desktop entry, the icon, the AppStream
# metadata and the manual (share/quillon/help, beside which the program looks for it).
include(GNUInstallDirs)

set(QUILLON_APP_ID example.quillon.Quillon)
install(TARGETS quillon quillon-cli quillon-mkdb quillon-probe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/linux/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/icons/quillon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(resources/linux/${QUILLON_APP_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/${QUILLON_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY resources/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon/help)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillon developers")
set(CPACK_PACKAGE_CONTACT "Quillon developers <maintainers@quillon.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of CDs, DVDs and folders (光盘索引库)")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillon keeps a catalogue of CDs, DVDs and folders: the name, size, date and folder of
every file that matches a category's masks. Browse the discs beside their files, search
every catalogued file, export lists as text, and watch the CD-ROM drives. The interface
is in Simplified Chinese or English.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillon developers <maintainers@quillon.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillon.example/")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stripped programs, as Debian ships them; their debugging symbols go into a package of
# their own, quillon-dbgsym (a .ddeb beside the .deb, below /usr/lib/debug/.build-id),
# which gdb finds by each program's build id. CPACK_STRIP_FILES would strip them before
# the symbols are taken out, so it stays off.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the window-system plugins, the
# SQLite driver, the SVG icon plugin, Qt's own Chinese texts and a font with the Chinese
# characters.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6svg6, qt6-translations-l10n, fonts-noto-cjk | fonts-wqy-microhei")
include(CPack)
