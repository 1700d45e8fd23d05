# Installing the programs, and their Debian package (CPack). Always, the command line:
#   bin/corvane-upload, share/corvane-uploader/cvxas.common.dll (the supplied database),
#   share/man/man1, share/bash-completion/completions/corvane-upload,
#   share/doc/corvane-uploader (copyright, changelog)
# With the windows (CVU_BUILD_GUI):
#   bin/corvane-uploader                    the launcher (data folder, through corvane-upload)
#   libexec/corvane-uploader/               the program itself, and the hand-over of the
#                                           launcher's files to it (corvane-uploader-open)
#   share/applications, share/metainfo, share/icons/hicolor/scalable/apps
set(CVU_APP_ID net.corvane.uploader)
set(CVU_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/corvane-uploader)
set(CVU_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/corvane-uploader)
set(CVU_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(CVU_MADE_DIR ${CMAKE_BINARY_DIR}/desktop)

# Compressed as Debian keeps them: gzip -9, no name or time in the header.
function(cvu_gzip source compressed)
  add_custom_command(OUTPUT ${compressed} COMMAND gzip -9n -c ${source} > ${compressed} DEPENDS ${source})
endfunction()

# The command line uses the data folder's database (or --database), and finds the
# supplied one relative to itself.
install(TARGETS corvane-upload RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CVU_DB_FILE} DESTINATION ${CVU_DATA_DIR})
install(FILES ${CVU_DESKTOP_DIR}/corvane-upload.bash-completion RENAME corvane-upload
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
configure_file(${CVU_DESKTOP_DIR}/changelog.in ${CVU_MADE_DIR}/changelog @ONLY)
cvu_gzip(${CVU_MADE_DIR}/changelog ${CVU_MADE_DIR}/changelog.gz)
install(FILES ${CVU_DESKTOP_DIR}/copyright ${CVU_MADE_DIR}/changelog.gz DESTINATION ${CVU_DOC_DIR})
set(CVU_MAN_PAGES corvane-upload)
if(TARGET corvane-uploader)
  list(APPEND CVU_MAN_PAGES corvane-uploader)
endif()
set(CVU_COMPRESSED ${CVU_MADE_DIR}/changelog.gz)
foreach(page ${CVU_MAN_PAGES})
  cvu_gzip(${CVU_DESKTOP_DIR}/${page}.1 ${CVU_MADE_DIR}/${page}.1.gz)
  install(FILES ${CVU_MADE_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND CVU_COMPRESSED ${CVU_MADE_DIR}/${page}.1.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${CVU_COMPRESSED})

if(TARGET corvane-uploader)
  # The launcher finds the program relative to itself, so the installed tree works under
  # any prefix.
  file(RELATIVE_PATH CVU_LAUNCHER_TO_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${CVU_PROGRAM_DIR}/corvane-uploader)
  file(RELATIVE_PATH CVU_LAUNCHER_TO_OPENER ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${CVU_PROGRAM_DIR}/corvane-uploader-open)
  configure_file(${CVU_DESKTOP_DIR}/corvane-uploader.in ${CVU_MADE_DIR}/corvane-uploader @ONLY)
  # The home page is the service's own; the local stand-in (the default host) has none.
  set(CVU_METAINFO_HOMEPAGE "")
  if(NOT CVU_SERVICE_HOST STREQUAL "localhost:8470")
    set(CVU_METAINFO_HOMEPAGE "\n  <url type=\"homepage\">http://${CVU_SERVICE_HOST}</url>")
  endif()
  configure_file(${CVU_DESKTOP_DIR}/${CVU_APP_ID}.metainfo.xml.in ${CVU_MADE_DIR}/${CVU_APP_ID}.metainfo.xml @ONLY)

  install(TARGETS corvane-uploader corvane-uploader-open RUNTIME DESTINATION ${CVU_PROGRAM_DIR})
  install(PROGRAMS ${CVU_MADE_DIR}/corvane-uploader DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CVU_DESKTOP_DIR}/${CVU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CVU_MADE_DIR}/${CVU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/src/app/icons/corvane-uploader.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The Debian package: shared libraries found by dpkg-shlibdeps (Qt 6 Widgets, Svg and
# Network, libcurl, SQLite, RE2); libcurl at least 7.85, whose protocol names the
# requests set (a shared-library version cannot tell that), and for the windows the
# Russian Qt texts, the SVG plugin and the font the program loads.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-uploader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Corvane Uploader developers <uploader@corvane.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Image uploader for the Corvane photo-hosting service")
set(CPACK_PACKAGE_DESCRIPTION "Uploads images to the photo-hosting service, keeps the upload history and\n\
copies links, HTML and BB code and own templates to the clipboard. Russian\n\
user interface. Also corvane-upload, to upload from a shell or a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.85)")
if(TARGET corvane-uploader)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6svg6, qt6-translations-l10n, fonts-wine")
endif()
include(CPack)

if(CVU_BUILD_TESTS)
  set(CVU_BUILT_PARTS cli)
  if(TARGET corvane-uploader)
    set(CVU_BUILT_PARTS gui)
  endif()
  add_test(NAME install_layout COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install-layout-test ${CMAKE_BINARY_DIR}
                                       ${CVU_BUILT_PARTS})
  set_tests_properties(install_layout PROPERTIES LABELS install TIMEOUT 300)
  if(TARGET corvane-uploader)
    add_test(NAME install_launcher COMMAND ${CMAKE_SOURCE_DIR}/tests/install/launcher-test ${CMAKE_BINARY_DIR})
    add_test(NAME package_deb COMMAND ${CMAKE_SOURCE_DIR}/tests/install/package-test ${CMAKE_BINARY_DIR})
    set_tests_properties(install_launcher package_deb PROPERTIES LABELS install TIMEOUT 300)
  endif()
endif()
