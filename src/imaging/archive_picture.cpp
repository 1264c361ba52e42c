#include "imaging/archive_picture.h"

#include <cstring>

#include "imaging/decode_budget.h"
#include "imaging/jpeg_layout.h"
#include "imaging/orientation.h"

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

const RgbImage* Upright_picture(PictureWorkspace& work, std::string_view jpeg, PixelSize box,
                                bool enlarge) {
  JpegLayout layout = Read_jpeg_layout(jpeg);
  // A picture cut short would come out with a grey part where its data end.
  if (!layout.is_jpeg || !layout.complete) return nullptr;
  std::optional<PixelSize> stored = work.decoder.Read_size(jpeg);
  if (!stored) return nullptr;
  int orientation = Exif_orientation(layout.exif);
  PixelSize shown = Fit_within(Oriented_size(*stored, orientation), box, enlarge);
  PixelSize wanted = Oriented_size(shown, orientation);  // the same turn undoes itself
  ScalingFactor factor = JpegDecoder::Factor_for(*stored, wanted);
  long long scaled = (long long)factor.Scaled(stored->width) * factor.Scaled(stored->height);
  DecodeAllowance allowance(Decode_memory_estimate(jpeg, stored->width, stored->height, scaled));
  if (!allowance.granted()) return nullptr;  // more than a whole run may take
  if (!work.decoder.Decode(jpeg, factor, &work.decoded)) return nullptr;
  const RgbImage* picture = &work.decoded;
  if (picture->size() != wanted) {
    Resize_into(*picture, wanted, work.scratch, &work.sized);
    picture = &work.sized;
  }
  if (orientation == 1) return picture;
  Orient_into(*picture, orientation, &work.upright);
  return &work.upright;
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
