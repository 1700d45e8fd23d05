# Installing the program as a desktop application, and its Debian package (CPack).
#   bin/corvane-uploader                    the launcher (data folder, through corvane-upload)
#   libexec/corvane-uploader/               the program itself
#   share/corvane-uploader/cvxas.common.dll the supplied database
#   share/applications, share/metainfo, share/icons/hicolor/scalable/apps
#   share/man/man1, share/bash-completion/completions/corvane-upload
if(NOT TARGET corvane-uploader)
  return()
endif()
set(CVU_APP_ID net.corvane.uploader)
set(CVU_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/corvane-uploader)
set(CVU_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)

# The launcher finds the program relative to itself, so the installed tree works under
# any prefix; corvane-upload beside it finds the supplied database the same way.
file(RELATIVE_PATH CVU_LAUNCHER_TO_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${CVU_PROGRAM_DIR}/corvane-uploader)
configure_file(${CVU_DESKTOP_DIR}/corvane-uploader.in ${CMAKE_BINARY_DIR}/desktop/corvane-uploader @ONLY)
configure_file(${CVU_DESKTOP_DIR}/${CVU_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/desktop/${CVU_APP_ID}.metainfo.xml
               @ONLY)

install(TARGETS corvane-uploader RUNTIME DESTINATION ${CVU_PROGRAM_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/desktop/corvane-uploader DESTINATION ${CMAKE_INSTALL_BINDIR})
# The command-line uploader uses the data folder's database (or --database).
install(TARGETS corvane-upload RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CVU_DB_FILE} DESTINATION ${CVU_DATA_DIR})
install(FILES ${CVU_DESKTOP_DIR}/${CVU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${CVU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/src/app/icons/corvane-uploader.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual pages, compressed as Debian keeps them (no name or time in the gzip header).
foreach(page corvane-upload corvane-uploader)
  set(compressed ${CMAKE_BINARY_DIR}/desktop/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed} COMMAND gzip -9n -c ${CVU_DESKTOP_DIR}/${page}.1 > ${compressed}
                     DEPENDS ${CVU_DESKTOP_DIR}/${page}.1)
  list(APPEND CVU_MAN_PAGES ${compressed})
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${CVU_MAN_PAGES})
install(FILES ${CVU_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CVU_DESKTOP_DIR}/corvane-upload.bash-completion RENAME corvane-upload
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The Debian package: shared libraries found by dpkg-shlibdeps (Qt 6 Widgets, Svg and
# Network, libcurl, SQLite, RE2), plus the Russian Qt texts and the font it loads.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-uploader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Corvane Uploader developers <uploader@corvane.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Image uploader for the Corvane photo-hosting service")
set(CPACK_PACKAGE_DESCRIPTION "Uploads images to the photo-hosting service, keeps the upload history and copies\n\
links, HTML and BB code and own templates to the clipboard. Russian user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-wine")
include(CPack)

if(CVU_BUILD_TESTS)
  add_test(NAME install_layout COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install-layout-test ${CMAKE_BINARY_DIR})
  add_test(NAME install_launcher COMMAND ${CMAKE_SOURCE_DIR}/tests/install/launcher-test ${CMAKE_BINARY_DIR})
  add_test(NAME package_deb COMMAND ${CMAKE_SOURCE_DIR}/tests/install/package-test ${CMAKE_BINARY_DIR})
  set_tests_properties(install_layout install_launcher package_deb PROPERTIES LABELS install TIMEOUT 300)
endif()
