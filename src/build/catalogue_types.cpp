#include "build/catalogue_types.h"

#include "catalog/read_csv.h"
#include "catalog/read_gal.h"
#include "catalog/read_mdb.h"
#include "catalog/read_plb.h"
#include "catalog/read_tdb.h"
#include "catalog/read_textcat.h"

namespace zendrel {
namespace {

Status Read_text_catalogue(const CatalogueSource& s) { return Read_textcat(s.bytes, s.sink); }
Status Read_plb_catalogue(const CatalogueSource& s) { return Read_plb(s.bytes, s.sink); }
Status Read_gal_catalogue(const CatalogueSource& s) { return Read_gal(s.bytes, s.sink, s.drives); }
Status Read_tdb_catalogue(const CatalogueSource& s) { return Read_tdb(s.bytes, s.sink, s.drives); }
Status Read_csv_catalogue(const CatalogueSource& s) {
  return Read_csv(s.bytes, s.sink, s.label_drives, s.drives);
}
Status Read_mdb_catalogue(const CatalogueSource& s) { return Read_mdb(s.path, s.sink, s.drives); }

// The PhotoRecall reader reads to the end whatever the stop request says.
constexpr CatalogueType kTypes[] = {
    {".txt", " Tab Delimited Text File", Read_text_catalogue, false, true},
    {".plb", " Photo Organizer Library File", Read_plb_catalogue, false, true},
    {".GAL", " EasyPhoto or Adobe Gallery File", Read_gal_catalogue, false, true},
    {".tDB", " ThumbsPlus V3 Database", Read_tdb_catalogue, false, true},
    {".csv", " ThumbsPlus V4 Export File", Read_csv_catalogue, false, true},
    {".htm", " HTML File", nullptr, false, true},
    {".mdb", " PhotoRecall Database", Read_mdb_catalogue, true, false},
};

const CatalogueType* First_type(const std::string& name, bool readable_only) {
  for (const CatalogueType& type : kTypes) {
    if (readable_only && !type.read) continue;
    if (name.find(type.extension) != std::string::npos) return &type;
  }
  return nullptr;
}

}  // namespace

const CatalogueType* Shown_catalogue_type(const std::string& name) {
  return First_type(name, false);
}

const CatalogueType* Readable_catalogue_type(const std::string& name) {
  return First_type(name, true);
}

}  // namespace zendrel
