# What `cmake --install` puts under the prefix, in the freedesktop layout, and the Debian
# package CPack makes from it (tools/make-deb).
include(GNUInstallDirs)

install(TARGETS quillmark quillmark-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The read-only program folder: the build tree's data mirror with the generated templates and
# sample plugins, without CMake's own files, nor the Wine prefix a run from the build tree
# makes there. The program finds it as ../share/quillmark.
install(
  DIRECTORY ${QM_DATA_DIR}/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark
  PATTERN "wine" EXCLUDE
  PATTERN "CMakeFiles" EXCLUDE
  PATTERN "cmake_install.cmake" EXCLUDE
  PATTERN "CTestTestfile.cmake" EXCLUDE
  PATTERN "*.ninja" EXCLUDE
  PATTERN "Makefile" EXCLUDE)

install(FILES ${PROJECT_BINARY_DIR}/desktop/quillmark.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/desktop/quillmark.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillmark.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor/${size}x${size}/apps/quillmark.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.quillmark.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog go in compressed, as Debian's policy wants them.
set(qm_gzipped)
foreach(source man/quillmark.1 man/quillmark-cli.1 changelog)
  get_filename_component(name ${source} NAME)
  set(out ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${source} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source}
    VERBATIM)
  list(APPEND qm_gzipped ${out})
endforeach()
add_custom_target(qm-packaging-docs ALL DEPENDS ${qm_gzipped})
install(FILES ${PROJECT_BINARY_DIR}/packaging/quillmark.1.gz
              ${PROJECT_BINARY_DIR}/packaging/quillmark-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark)

set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_CONTACT "Quillmark <support@quillmark.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Organiser for image-editor plugins and Filter Factory workshop")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark lists, sorts and inspects image-editor plugins, and reads, converts,\nwrites and runs Filter Factory formula filters. A desktop program and\nquillmark-cli.")
# Debian ships programs without their symbol tables.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillmark)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Formats Qt reads through plugins (TIFF, WebP, TGA), the zip commands, and Wine for Windows
# plugins that are not Filter Factory filters; xdg-open opens the help, files and addresses,
# and the associations need xdg-mime.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, zip, wine64")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils, libsqlite3-0")
set(CPACK_GENERATOR DEB)
include(CPack)
