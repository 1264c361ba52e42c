# The Debian package: the program and its texture.jpg together in
# /usr/lib/zendrel (the program's own directory), /usr/bin/zendrel a link to
# it, a desktop entry with its icon, the manual page and bash completion.
include(GNUInstallDirs)

install(TARGETS zendrel RUNTIME DESTINATION lib/zendrel)
install(FILES ${CMAKE_BINARY_DIR}/texture.jpg DESTINATION lib/zendrel)

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ../lib/zendrel/zendrel ${CMAKE_BINARY_DIR}/packaging/zendrel-link SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/zendrel-link DESTINATION bin RENAME zendrel)

install(FILES packaging/zendrel.desktop DESTINATION share/applications)
if(TARGET make_icon)
  foreach(size 48 128 256)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/icons/${size}/zendrel.png
      DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
install(FILES packaging/zendrel.bash-completion
  DESTINATION share/bash-completion/completions RENAME zendrel)

# Debian wants the manual page and changelog compressed, reproducibly.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/zendrel.1.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/zendrel.1 > ${CMAKE_BINARY_DIR}/packaging/zendrel.1.gz
  DEPENDS packaging/zendrel.1)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS packaging/changelog)
add_custom_target(packaging_docs ALL DEPENDS
  ${CMAKE_BINARY_DIR}/packaging/zendrel.1.gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/zendrel.1.gz DESTINATION share/man/man1)
install(FILES packaging/copyright DESTINATION share/doc/zendrel)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION share/doc/zendrel
  RENAME changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zendrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zendrel developers <developers@zendrel.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime libraries (libjpeg-turbo, libheif, libpng, libwebp, libtiff,
# LittleCMS, Exiv2, libexif, Qt 6, mdbtools) are found from the program's links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make a browsable archive page from photographs")
set(CPACK_PACKAGE_DESCRIPTION
  "Zendrel turns a collection of photographs (JPEG, HEIC, PNG, WebP, TIFF)\ninto one self-contained archive directory: thumbnails, display copies,\na tab-delimited catalogue and one page whose script carries the whole\ncatalogue and a viewer (thumbnail table, search by words, dates and folders, picture views,\nslide show) that runs in any web browser, from a disk or a CD.\nDescriptions come from older photo-cataloguing programs' files, from a\ndirectory of pictures, or from the archives of subdirectories.")
include(CPack)
