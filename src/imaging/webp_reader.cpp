// WebP through libwebp: the first frame of a still or animated picture, its
// ICCP profile and EXIF orientation from the container's chunks.
#include <webp/decode.h>
#include <webp/demux.h>

#include <vector>

#include "imaging/orientation.h"
#include "imaging/picture_reader.h"

namespace zendrel {
namespace {

class WebpReader final : public PictureReader {
 public:
  ~WebpReader() override {
    if (demux_) {
      WebPDemuxReleaseIterator(&frame_);
      WebPDemuxDelete(demux_);
    }
  }

  bool Open(std::string_view bytes) override {
    WebPData data{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
    demux_ = WebPDemux(&data);
    if (!demux_ || !WebPDemuxGetFrame(demux_, 1, &frame_)) return false;
    width_ = frame_.width;
    height_ = frame_.height;
    WebPChunkIterator chunk;
    if (WebPDemuxGetChunk(demux_, "ICCP", 1, &chunk)) {
      icc.assign(reinterpret_cast<const char*>(chunk.chunk.bytes), chunk.chunk.size);
      WebPDemuxReleaseChunkIterator(&chunk);
    }
    if (WebPDemuxGetChunk(demux_, "EXIF", 1, &chunk)) {
      std::string_view exif(reinterpret_cast<const char*>(chunk.chunk.bytes), chunk.chunk.size);
      // Some writers keep JPEG's "Exif\0\0" in front of the TIFF block.
      if (!exif.starts_with(std::string_view("Exif\0\0", 6)))
        orientation = Exif_orientation(std::string("Exif\0\0", 6) + std::string(exif));
      else
        orientation = Exif_orientation(exif);
      WebPDemuxReleaseChunkIterator(&chunk);
    }
    return width_ > 0 && height_ > 0;
  }

  PixelSize size() const override { return {width_, height_}; }
  int working_bytes_per_pixel() const override { return 6; }  // RGBA result, YUV planes

  bool Decode(RgbImage* out) override {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(frame_.fragment.bytes, frame_.fragment.size, &features) != VP8_STATUS_OK)
      return false;
    if (features.width != width_ || features.height != height_) return false;
    out->Reshape(width_, height_);
    if (!features.has_alpha) {
      return WebPDecodeRGBInto(frame_.fragment.bytes, frame_.fragment.size, out->data(),
                               out->stride() * height_, int(out->stride())) != nullptr;
    }
    rgba_.resize(size_t(width_) * height_ * 4);
    if (!WebPDecodeRGBAInto(frame_.fragment.bytes, frame_.fragment.size, rgba_.data(), rgba_.size(),
                            width_ * 4))
      return false;
    const uint8_t* from = rgba_.data();
    uint8_t* to = out->data();
    for (size_t i = 0, n = size_t(width_) * height_; i < n; ++i, from += 4) {
      *to++ = Over_white(from[0], from[3]);
      *to++ = Over_white(from[1], from[3]);
      *to++ = Over_white(from[2], from[3]);
    }
    return true;
  }

 private:
  WebPDemuxer* demux_ = nullptr;
  WebPIterator frame_{};
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> rgba_;
};

}  // namespace

std::unique_ptr<PictureReader> Make_webp_reader() { return std::make_unique<WebpReader>(); }

}  // namespace zendrel
