// A CMYK profile of made-up inks, made by LittleCMS: a table sampled from
// plain ink mixing, with the inks shifted so that the profile matters.
#pragma once

#include <lcms2.h>

#include <algorithm>
#include <string>

namespace zendrel::testing {

inline cmsInt32Number Sample_inks(const cmsUInt16Number in[], cmsUInt16Number out[], void* to_lab) {
  double c = in[0] / 65535.0, m = in[1] / 65535.0, y = in[2] / 65535.0, k = in[3] / 65535.0;
  // Cyan that leans to green, a magenta that is weaker than its value.
  double rgb[3] = {(1 - c) * (1 - k), std::min(1.0, (1 - 0.8 * m) * (1 - k) + 0.1 * c),
                   (1 - y) * (1 - k)};
  cmsCIELab lab;
  cmsDoTransform(static_cast<cmsHTRANSFORM>(to_lab), rgb, &lab, 1);
  cmsFloat2LabEncoded(out, &lab);
  return TRUE;
}

inline std::string Cmyk_profile() {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
  cmsHTRANSFORM to_lab =
      cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
  cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
  cmsSetProfileVersion(profile, 4.3);
  cmsSetDeviceClass(profile, cmsSigOutputClass);
  cmsSetColorSpace(profile, cmsSigCmykData);
  cmsSetPCS(profile, cmsSigLabData);
  cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
  cmsStage* table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
  cmsStageSampleCLut16bit(table, Sample_inks, to_lab, 0);
  // An A-to-B table holds curves around its grid: identities here.
  cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
  cmsPipelineInsertStage(pipeline, cmsAT_END, table);
  cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
  cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
  cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::string bytes(size, '\0');
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsPipelineFree(pipeline);
  cmsCloseProfile(profile);
  cmsDeleteTransform(to_lab);
  cmsCloseProfile(lab);
  cmsCloseProfile(srgb);
  return bytes;
}

}  // namespace zendrel::testing
