// The catalogue types a build reads: the part of the file name that marks
// each, the status caption shown when such a file is chosen, and the reader
// that delivers its pictures. Names are matched in table order, anywhere in
// the name ("list.txt.mdb" is a text catalogue).
#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/status.h"

namespace zendrel {

class DriveTable;
struct LabelDriveTable;

// What a reader is handed: the catalogue's path (Windows view), its bytes
// (empty for a reader that opens the file itself), the run, the volume
// labels matched to drives in earlier runs, and the run's drive table.
struct CatalogueSource {
  const std::string& path;
  const std::string& bytes;
  PictureSink& sink;
  LabelDriveTable& label_drives;
  const DriveTable& drives;
};

struct CatalogueType {
  const char* extension;
  const char* caption;  // with its leading space, as the status line shows it
  // Null for a type that is shown but not read (an archive page).
  Status (*read)(const CatalogueSource& source);
  bool opens_file_itself;  // the bytes are not read for it beforehand
  bool honours_stop;       // stops delivering pictures when a stop is asked for
};

// The first type whose mark the name holds, for the status caption; null
// when none does.
const CatalogueType* Shown_catalogue_type(const std::string& name);
// The first type with a reader whose mark the name holds; null when none
// does, and the file is not a catalogue the build can read.
const CatalogueType* Readable_catalogue_type(const std::string& name);

}  // namespace zendrel
