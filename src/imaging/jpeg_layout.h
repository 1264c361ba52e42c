// What the marker segments of a JPEG file say before any decoding: where its
// EXIF block lies and whether its picture data reach an end marker. Reads
// only within `bytes`; any input is safe.
#pragma once

#include <string>
#include <string_view>

namespace zendrel {

struct JpegLayout {
  bool is_jpeg = false;   // starts with a start-of-image marker
  bool complete = false;  // the scans are followed by an end-of-image marker
  std::string_view exif;  // the APP1 payload from "Exif\0\0" on; empty if none
  // The colour profile from the APP2 "ICC_PROFILE" chunks in their order;
  // empty when there is none or a chunk is missing.
  std::string icc;
  int precision = 0;          // bits per sample of the frame; 0 before a frame header
  int width = 0, height = 0;  // as the frame header gives them
};

JpegLayout Read_jpeg_layout(std::string_view bytes);

}  // namespace zendrel
