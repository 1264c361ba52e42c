#include "imaging/archive_picture.h"

#include <cstring>

#include "imaging/color_profile.h"
#include "imaging/decode_budget.h"
#include "imaging/jpeg_layout.h"
#include "imaging/orientation.h"
#include "imaging/picture_format.h"
#include "imaging/picture_reader.h"

namespace zendrel {

void PictureWorkspace::Trim() {
  constexpr size_t kKeep = size_t(64) << 20;
  if (file.capacity() > kKeep) std::string().swap(file);
  for (RgbImage* image : {&decoded, &sized, &upright, &thumbnail, &scratch.turned})
    image->Release_above(kKeep);
  if (scratch.band.capacity() > kKeep) std::vector<uint8_t>().swap(scratch.band);
}

PictureWorkspace& Thread_workspace() {
  thread_local PictureWorkspace workspace;
  return workspace;
}

namespace {

bool Within_limits(PixelSize size) {
  return size.width >= 1 && size.height >= 1 && size.width <= kMaxSide && size.height <= kMaxSide &&
         (long long)size.width * size.height <= kMaxPixels;
}

const RgbImage* Refuse(PictureReading* reading, ReadProblem problem) {
  if (reading) reading->problem = problem;
  return nullptr;
}

// `picture` (in the workspace's decoded image) resampled to the size that,
// once turned by `orientation`, fits `box`, and turned upright.
const RgbImage* Fitted_upright(PictureWorkspace& work, PixelSize wanted, int orientation) {
  const RgbImage* picture = &work.decoded;
  if (picture->size() != wanted) {
    Resize_into(*picture, wanted, work.scratch, &work.sized);
    picture = &work.sized;
  }
  if (orientation == 1) return picture;
  Orient_into(*picture, orientation, &work.upright);
  return &work.upright;
}

PixelSize Stored_size_for(PixelSize stored, int orientation, PixelSize box, bool enlarge) {
  PixelSize shown = Fit_within(Oriented_size(stored, orientation), box, enlarge);
  return Oriented_size(shown, orientation);  // the same turn undoes itself
}

const RgbImage* Upright_jpeg(PictureWorkspace& work, std::string_view jpeg, PixelSize box,
                             bool enlarge, PictureReading* reading) {
  JpegLayout layout = Read_jpeg_layout(jpeg);
  if (reading) {
    reading->size = {layout.width, layout.height};
    // Cut short: archived with what decodes, as browsers show it.
    reading->incomplete = !layout.complete;
  }
  if (layout.precision > 8) return Refuse(reading, ReadProblem::kTwelveBit);
  if (layout.width > 0 && layout.height > 0 && !Within_limits({layout.width, layout.height}))
    return Refuse(reading, ReadProblem::kTooLarge);
  ReadProblem damaged =
      layout.complete ? ReadProblem::kDamaged : ReadProblem::kIncompleteUnreadable;
  std::optional<PixelSize> stored = work.decoder.Read_size(jpeg);
  if (!stored) return Refuse(reading, damaged);
  int orientation = Exif_orientation(layout.exif);
  PixelSize wanted = Stored_size_for(*stored, orientation, box, enlarge);
  ScalingFactor factor = JpegDecoder::Factor_for(*stored, wanted);
  long long scaled = (long long)factor.Scaled(stored->width) * factor.Scaled(stored->height);
  DecodeAllowance allowance(Decode_memory_estimate(jpeg, stored->width, stored->height, scaled));
  if (!allowance.granted()) return Refuse(reading, ReadProblem::kOverBudget);
  if (!work.decoder.Decode(jpeg, factor, &work.decoded, layout.icc))
    return Refuse(reading, damaged);
  Convert_to_srgb(work.decoded, layout.icc);
  return Fitted_upright(work, wanted, orientation);
}

const RgbImage* Upright_other(PictureWorkspace& work, std::string_view bytes, PictureFormat format,
                              PixelSize box, bool enlarge, PictureReading* reading) {
  std::unique_ptr<PictureReader> reader = Reader_for(format);
  if (!reader) return Refuse(reading, ReadProblem::kUnsupportedFormat);
  if (!reader->Open(bytes)) return Refuse(reading, ReadProblem::kDamaged);
  PixelSize stored = reader->size();
  if (reading) reading->size = stored;
  if (!Within_limits(stored)) return Refuse(reading, ReadProblem::kTooLarge);
  DecodeAllowance allowance(Full_decode_estimate(bytes.size(), reader->decoded_pixels_at_most(),
                                                 reader->working_bytes_per_pixel()));
  if (!allowance.granted()) return Refuse(reading, ReadProblem::kOverBudget);
  if (!reader->Decode(&work.decoded)) return Refuse(reading, ReadProblem::kDamaged);
  Convert_to_srgb(work.decoded, reader->icc);
  int orientation = reader->orientation;
  return Fitted_upright(work, Stored_size_for(work.decoded.size(), orientation, box, enlarge),
                        orientation);
}

}  // namespace

const RgbImage* Upright_picture(PictureWorkspace& work, std::string_view bytes, PixelSize box,
                                bool enlarge, PictureReading* reading) {
  if (bytes.empty()) return Refuse(reading, ReadProblem::kEmpty);
  PictureFormat format = Picture_format_of(bytes.substr(0, kFormatHeadBytes));
  if (format == PictureFormat::kJpeg) return Upright_jpeg(work, bytes, box, enlarge, reading);
  if (format == PictureFormat::kUnknown) return Refuse(reading, ReadProblem::kNotPicture);
  return Upright_other(work, bytes, format, box, enlarge, reading);
}

void Thumbnail_into(const RgbImage& picture, ResampleScratch& scratch, RgbImage* out) {
  PixelSize fitted = Fit_within(picture.size(), {kThumbnailSide, kThumbnailSide}, true);
  RgbImage inner;
  Resize_into(picture, fitted, scratch, &inner);
  out->Reshape(kThumbnailSide, kThumbnailSide);
  std::memset(out->data(), 0, out->stride() * out->height());
  if (inner.empty()) return;
  int left = (kThumbnailSide - fitted.width) / 2;
  int top = (kThumbnailSide - fitted.height) / 2;
  for (int y = 0; y < fitted.height; ++y)
    std::memcpy(out->row(top + y) + left * 3, inner.row(y), inner.stride());
}

}  // namespace zendrel
