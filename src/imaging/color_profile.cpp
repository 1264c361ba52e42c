#include "imaging/color_profile.h"

#include <lcms2.h>

#include <cmath>
#include <string>

namespace zendrel {
namespace {

struct ProfileCloser {
  cmsHPROFILE profile;
  ~ProfileCloser() {
    if (profile) cmsCloseProfile(profile);
  }
};

bool Close(const cmsCIEXYZ* a, const cmsCIEXYZ* b) {
  return a && b && std::fabs(a->X - b->X) < 0.003 && std::fabs(a->Y - b->Y) < 0.003 &&
         std::fabs(a->Z - b->Z) < 0.003;
}

bool Same_curve(const cmsToneCurve* a, const cmsToneCurve* b) {
  if (!a || !b) return false;
  for (float x = 0.0f; x <= 1.0f; x += 0.0625f)
    if (std::fabs(cmsEvalToneCurveFloat(a, x) - cmsEvalToneCurveFloat(b, x)) > 0.5f / 255.0f)
      return false;
  return true;
}

bool Is_srgb(cmsHPROFILE profile) {
  static const cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  if (cmsGetColorSpace(profile) != cmsSigRgbData ||
      cmsIsCLUT(profile, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT))
    return false;
  for (cmsTagSignature tag : {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag})
    if (!Close(static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tag)),
               static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb, tag))))
      return false;
  for (cmsTagSignature tag : {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag})
    if (!Same_curve(static_cast<const cmsToneCurve*>(cmsReadTag(profile, tag)),
                    static_cast<const cmsToneCurve*>(cmsReadTag(srgb, tag))))
      return false;
  return true;
}

// The last profile a thread met and what it takes: most runs hold pictures
// of one camera or phone, so the transform is made once per thread.
struct ThreadTransform {
  std::string profile;
  bool identity = true;
  bool grey = false;
  cmsHTRANSFORM transform = nullptr;
  uint8_t grey_table[256][3];

  ~ThreadTransform() { Reset(); }
  void Reset() {
    if (transform) cmsDeleteTransform(transform);
    transform = nullptr;
    identity = true;
    grey = false;
  }

  void Prepare(std::string_view icc) {
    if (icc == profile) return;
    Reset();
    profile.assign(icc);
    ProfileCloser input{cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size()))};
    if (!input.profile || Is_srgb(input.profile)) return;
    cmsColorSpaceSignature space = cmsGetColorSpace(input.profile);
    if (space != cmsSigRgbData && space != cmsSigGrayData) return;  // CMYK: converted as stored
    ProfileCloser srgb{cmsCreate_sRGBProfile()};
    grey = space == cmsSigGrayData;
    transform = cmsCreateTransform(input.profile, grey ? TYPE_GRAY_8 : TYPE_RGB_8, srgb.profile,
                                   TYPE_RGB_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
    if (!transform) return;
    identity = false;
    if (grey) {
      uint8_t levels[256];
      for (int i = 0; i < 256; ++i) levels[i] = uint8_t(i);
      cmsDoTransform(transform, levels, grey_table, 256);
    }
  }
};

}  // namespace

bool Is_srgb_profile(std::string_view icc) {
  ProfileCloser profile{cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size()))};
  return profile.profile && Is_srgb(profile.profile);
}

void Convert_to_srgb(RgbImage& image, std::string_view icc) {
  if (icc.empty() || image.empty()) return;
  thread_local ThreadTransform cached;
  cached.Prepare(icc);
  if (cached.identity) return;
  if (cached.grey) {
    // A grey picture arrives with equal channels: one lookup per pixel.
    uint8_t* p = image.data();
    for (size_t i = 0, n = size_t(image.width()) * image.height(); i < n; ++i, p += 3) {
      const uint8_t* rgb = cached.grey_table[p[0]];
      p[0] = rgb[0], p[1] = rgb[1], p[2] = rgb[2];
    }
    return;
  }
  for (int y = 0; y < image.height(); ++y)
    cmsDoTransform(cached.transform, image.row(y), image.row(y), cmsUInt32Number(image.width()));
}

}  // namespace zendrel
