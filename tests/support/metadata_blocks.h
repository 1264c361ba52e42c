// A picture's metadata blocks written directly, for the fuzz seeds and the
// build speed benchmark (the tests use exiftool): a small EXIF block, an
// IPTC record in a Photoshop segment and an XMP packet, a few hundred bytes
// each, placed after the JPEG's start marker.
#pragma once

#include <string>
#include <vector>

namespace zendrel::testing {

struct MetadataBlocks {
  std::string title = "Harbour at dawn";
  std::vector<std::string> keywords = {"sea", "boats", "fog"};
  std::string comment = "Fishing boats waiting for the tide";
  std::string author = "Ann Lee";
  std::string date = "2001:02:03 04:05:06";  // EXIF form
};

// `jpeg` with the three blocks; the texts are UTF-8.
std::string With_metadata_blocks(const std::string& jpeg, const MetadataBlocks& blocks);

// The segments alone (marker, length, payload), each a whole JPEG segment.
std::string Exif_segment(const MetadataBlocks& blocks);
std::string Iptc_segment(const MetadataBlocks& blocks);
std::string Xmp_segment(const MetadataBlocks& blocks);

}  // namespace zendrel::testing
