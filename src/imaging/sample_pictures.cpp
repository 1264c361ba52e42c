#include "imaging/sample_pictures.h"

// Placeholder until the sample pictures land.
namespace zendrel {
std::string Sample_jpeg(const SampleSpec&) { return {}; }
std::vector<SampleSpec> Demo_samples() { return {}; }
Status Write_samples(const std::string&, const std::vector<SampleSpec>&) {
  return Status::Error("sample pictures cannot be made yet");
}
}  // namespace zendrel
