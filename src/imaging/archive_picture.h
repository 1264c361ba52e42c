// The steps shared by the display copy and the thumbnail: decode a picture
// (a JPEG at the smallest DCT scale that still covers the wanted size),
// convert its colours to sRGB, resample to that size, turn it upright by
// its orientation; and fit a picture into the 96 by 96 thumbnail cell.
//
// A PictureWorkspace holds the codecs and the pixel buffers of one thread,
// reused from picture to picture: fresh memory for every picture costs more
// than the decoding saved by scaling. Never share one between threads.
#pragma once

#include <string>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "imaging/read_problem.h"
#include "imaging/resample.h"
#include "imaging/rgb_image.h"

namespace zendrel {

inline constexpr PixelSize kDisplayBox{1024, 768};
inline constexpr int kThumbnailSide = 96;
inline constexpr int kArchiveQuality = 85;
// Larger files are not taken for photographs.
inline constexpr size_t kMaxPictureBytes = size_t(512) << 20;

struct PictureWorkspace {
  JpegDecoder decoder;
  JpegEncoder encoder;
  std::string file;  // the original's bytes
  RgbImage decoded;  // at the DCT scale
  RgbImage sized;    // resampled, as stored
  RgbImage upright;  // turned by the orientation tag
  RgbImage thumbnail;
  ResampleScratch scratch;

  // Gives back buffers beyond what a large photograph needs, so that one
  // huge picture does not keep its memory for the rest of the run.
  void Trim();
};

// The calling thread's workspace.
PictureWorkspace& Thread_workspace();

// The picture in `bytes` (JPEG, PNG, WebP, TIFF or HEIF, told by its
// content) upright, in sRGB and fitted within `box` (enlarged only with
// `enlarge`), in one of the workspace's images; nullptr when it cannot be
// read, with the reason in `reading`. A JPEG cut short is read as far as
// it decodes, and `reading` says it is incomplete.
const RgbImage* Upright_picture(PictureWorkspace& work, std::string_view bytes, PixelSize box,
                                bool enlarge, PictureReading* reading = nullptr);

// `picture` fitted inside a black 96 by 96 square, centred, into `out`.
void Thumbnail_into(const RgbImage& picture, ResampleScratch& scratch, RgbImage* out);

}  // namespace zendrel
