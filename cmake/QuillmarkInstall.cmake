# What `cmake --install` puts under the prefix, in the freedesktop layout, and the Debian
# package CPack makes from it (tools/make-deb).
include(GNUInstallDirs)

install(TARGETS quillmark quillmark-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The read-only program folder: the build tree's data mirror with the generated templates and
# sample plugins, without CMake's own files. The program finds it as ../share/quillmark.
install(
  DIRECTORY ${QM_DATA_DIR}/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark
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

set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_CONTACT "Quillmark <support@quillmark.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Organiser for image-editor plugins and Filter Factory workshop")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark lists, sorts and inspects image-editor plugins, and reads, converts,\n writes and runs Filter Factory formula filters. A desktop program and quillmark-cli.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillmark)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Formats Qt reads through plugins (TIFF, WebP, TGA), the zip commands, and Wine for Windows
# plugins that are not Filter Factory filters.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, zip, xdg-utils, wine64")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libsqlite3-0")
set(CPACK_GENERATOR DEB)
include(CPack)
