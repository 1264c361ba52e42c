# The libraries the program's targets link, found through pkg-config. The
# main build and the fuzz tree both include this, so they never differ.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(EXIF REQUIRED IMPORTED_TARGET libexif)
pkg_check_modules(EXIV2 REQUIRED IMPORTED_TARGET exiv2)
pkg_check_modules(MDB REQUIRED IMPORTED_TARGET libmdb)
# The picture formats beside JPEG, and colour management.
pkg_check_modules(HEIF REQUIRED IMPORTED_TARGET libheif)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux)
pkg_check_modules(TIFF REQUIRED IMPORTED_TARGET libtiff-4)
pkg_check_modules(LCMS2 REQUIRED IMPORTED_TARGET lcms2)
set(ZENDREL_PICTURE_LIBRARIES PkgConfig::HEIF PkgConfig::PNG PkgConfig::WEBP PkgConfig::TIFF
  PkgConfig::LCMS2)
