#include "imaging/color_profile.h"

#include <lcms2.h>

#include <algorithm>
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
  bool inverted = false;  // the CMYK input is Adobe's
  bool identity = true;
  bool grey = false;
  bool cmyk = false;
  cmsHTRANSFORM transform = nullptr;
  uint8_t grey_table[256][3];

  ~ThreadTransform() { Reset(); }
  void Reset() {
    if (transform) cmsDeleteTransform(transform);
    transform = nullptr;
    identity = true;
    grey = cmyk = false;
  }

  void Prepare(std::string_view icc, bool inverted_cmyk) {
    if (icc == profile && inverted_cmyk == inverted) return;
    Reset();
    profile.assign(icc);
    inverted = inverted_cmyk;
    ProfileCloser input{cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size()))};
    if (!input.profile || Is_srgb(input.profile)) return;
    cmsColorSpaceSignature space = cmsGetColorSpace(input.profile);
    cmsUInt32Number format = TYPE_RGB_8;
    if (space == cmsSigGrayData)
      format = TYPE_GRAY_8;
    else if (space == cmsSigCmykData)
      format = inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8;
    else if (space != cmsSigRgbData)
      return;
    ProfileCloser srgb{cmsCreate_sRGBProfile()};
    transform = cmsCreateTransform(input.profile, format, srgb.profile, TYPE_RGB_8,
                                   INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
    if (!transform) return;
    identity = false;
    grey = space == cmsSigGrayData;
    cmyk = space == cmsSigCmykData;
    if (grey) {
      uint8_t levels[256];
      for (int i = 0; i < 256; ++i) levels[i] = uint8_t(i);
      cmsDoTransform(transform, levels, grey_table, 256);
    }
  }
};

thread_local ThreadTransform t_cached;

bool Near(double a, double b) { return std::fabs(a - b) < 0.002; }

}  // namespace

bool Is_srgb_profile(std::string_view icc) {
  ProfileCloser profile{cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size()))};
  return profile.profile && Is_srgb(profile.profile);
}

void Convert_to_srgb(RgbImage& image, std::string_view icc) {
  if (icc.empty() || image.empty()) return;
  ThreadTransform& cached = t_cached;
  // A CMYK profile the decoder has just used, in either flavour: nothing more to do.
  if (icc != cached.profile) cached.Prepare(icc, false);
  if (cached.identity || cached.cmyk) return;
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

bool Cmyk_to_srgb(const uint8_t* cmyk, bool inverted, size_t count, uint8_t* rgb,
                  std::string_view icc) {
  if (icc.empty()) return false;
  ThreadTransform& cached = t_cached;
  cached.Prepare(icc, inverted);
  if (!cached.cmyk) return false;
  // In rows' worth, as lcms2 counts pixels in 32 bits.
  constexpr size_t kStep = size_t(1) << 20;
  for (size_t done = 0; done < count; done += kStep) {
    size_t n = std::min(kStep, count - done);
    cmsDoTransform(cached.transform, cmyk + done * 4, rgb + done * 3, cmsUInt32Number(n));
  }
  return true;
}

std::string Rgb_profile_of(const ColourPrimaries& p, ToneCurve curve) {
  // sRGB's (BT.709's) chromaticities and D65.
  bool srgb_colours = Near(p.red_x, 0.64) && Near(p.red_y, 0.33) && Near(p.green_x, 0.30) &&
                      Near(p.green_y, 0.60) && Near(p.blue_x, 0.15) && Near(p.blue_y, 0.06) &&
                      Near(p.white_x, 0.3127) && Near(p.white_y, 0.3290);
  if (srgb_colours && curve == ToneCurve::kSrgb) return {};
  for (double v :
       {p.red_x, p.red_y, p.green_x, p.green_y, p.blue_x, p.blue_y, p.white_x, p.white_y})
    if (!(v > 0.0 && v < 1.0)) return {};
  cmsCIExyY white{p.white_x, p.white_y, 1.0};
  cmsCIExyYTRIPLE primaries{
      {p.red_x, p.red_y, 1.0}, {p.green_x, p.green_y, 1.0}, {p.blue_x, p.blue_y, 1.0}};
  double srgb[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
  double gamma = curve == ToneCurve::kGamma22 ? 2.2 : curve == ToneCurve::kGamma28 ? 2.8 : 1.0;
  cmsToneCurve* tone = curve == ToneCurve::kSrgb ? cmsBuildParametricToneCurve(nullptr, 4, srgb)
                                                 : cmsBuildGamma(nullptr, gamma);
  if (!tone) return {};
  cmsToneCurve* curves[3] = {tone, tone, tone};
  cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsFreeToneCurve(tone);
  std::string bytes;
  cmsUInt32Number size = 0;
  if (profile && cmsSaveProfileToMem(profile, nullptr, &size) && size > 0) {
    bytes.resize(size);
    if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) bytes.clear();
  }
  if (profile) cmsCloseProfile(profile);
  return bytes;
}

}  // namespace zendrel
