#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/status.h"

namespace zendrel {

// Reads the catalogue's bytes and delivers its pictures to `sink`, checking
// the stop request after each. A damaged file ends the reading with a status
// that says what was wrong; the pictures read so far have been delivered.
Status Read_textcat(const std::string& bytes, PictureSink& sink);

}  // namespace zendrel
