# Installing and packaging: the program and its Spanish manual page on Linux (make install,
# a .deb), the program with the README and the examples on Windows (a zip).

if(WIN32)
  install(TARGETS gravix RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  install(DIRECTORY examples/ DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME gravix-${GRAVIX_VERSION_TEXT}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS gravix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The manual page names the version; Debian wants compressed manual pages and changelogs,
  # and gzip -n keeps the bytes reproducible.
  configure_file(packaging/gravix.1.in ${CMAKE_BINARY_DIR}/gravix.1 @ONLY)
  foreach(source ${CMAKE_BINARY_DIR}/gravix.1 ${PROJECT_SOURCE_DIR}/packaging/changelog
          ${PROJECT_SOURCE_DIR}/README.md)
    get_filename_component(name ${source} NAME)
    set(target ${CMAKE_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${target}
      COMMAND gzip -9nc ${source} > ${target}
      DEPENDS ${source})
    list(APPEND GRAVIX_GZIPPED ${target})
  endforeach()
  add_custom_target(gravix_docs ALL DEPENDS ${GRAVIX_GZIPPED})
  install(FILES ${CMAKE_BINARY_DIR}/gravix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
    ${CMAKE_BINARY_DIR}/README.md.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME gravix_${GRAVIX_VERSION_TEXT}_amd64.deb)
  set(CPACK_DEBIAN_PACKAGE_VERSION ${GRAVIX_VERSION_TEXT})
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # shlibdeps finds Tesseract's and Leptonica's libraries; --scan also needs the model they read.
  if(GRAVIX_SCAN_BINDING STREQUAL tesseract)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS tesseract-ocr-eng)
  endif()
endif()

set(CPACK_STRIP_FILES ON)

set(CPACK_PACKAGE_NAME gravix)
set(CPACK_PACKAGE_VERSION ${GRAVIX_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR "The GRAVIX developers")
set(CPACK_PACKAGE_CONTACT "The GRAVIX developers <gravix@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Microhobby machine-code listings to ZX Spectrum tape images")
set(CPACK_PACKAGE_DESCRIPTION
  "GRAVIX loads a ZX Spectrum machine-code listing as printed by the
Microhobby magazine, keeps a backup, repairs its line numbering, shows it
in a full-screen hex editor that marks every wrong character, saves the
corrected listing and compiles it into a .tap tape image that Spectrum
emulators load. Its screens are in Spanish.")
include(CPack)
