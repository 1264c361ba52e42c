// The descriptions a photograph carries in its EXIF, IPTC and XMP blocks and
// in an XMP sidecar beside it, read with Exiv2 and chosen field by field in a
// fixed order of sources. Exiv2 may crash or hang on a hostile file: the
// directory scan calls this only in a child process (metadata_child.h).
#pragma once

#include <string>

namespace zendrel {

// UTF-8 texts; `date` is "mmmm d, yyyy" or empty.
struct PictureMetadata {
  std::string title, subject, category, comment, author, date;
  // Some block could not be read; the fields hold what could.
  bool damaged = false;
};

// The metadata of the picture file at `native_path` (JPEG, PNG, WebP, TIFF
// or HEIF), with the XMP sidecar "NAME.jpg.xmp" or "NAME.xmp" when one lies
// beside it. A file that is no picture has none; an unreadable block sets
// `damaged`. Never throws.
PictureMetadata Read_picture_metadata(const std::string& native_path);

// The same over a JPEG's bytes and a sidecar's text (empty: none).
PictureMetadata Read_picture_metadata_bytes(const std::string& jpeg, const std::string& sidecar);

}  // namespace zendrel
