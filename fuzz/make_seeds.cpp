// Writes seed corpora for the fuzz targets from the fixture writers of the
// tests: make_seeds DIR makes DIR/<reader>/ with a few good catalogues each.
#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/fixtures/gal_writer.h"
#include "catalog/fixtures/plb_writer.h"
#include "catalog/fixtures/tdb_writer.h"
#include "support/metadata_blocks.h"

namespace fs = std::filesystem;
using namespace zendrel::testing;

namespace {

void Seed(const fs::path& dir, const std::string& reader, const std::string& name,
          const std::string& bytes) {
  fs::create_directories(dir / reader);
  std::ofstream(dir / reader / name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  fs::path dir = argv[1];
  TdbContent tdb = Sample_tdb();
  Seed(dir, "tdb", "sample", Write_tdb(tdb));
  tdb.entries_per_page = 1;
  Seed(dir, "tdb", "one_per_page", Write_tdb(tdb));
  Seed(dir, "gal", "sample",
       Write_gal({{"C:\\p\\1.jpg", "One", "First", true, false, 0},
                  {"C:\\p\\2.jpg", "Two", "Second", true, true, 0},
                  {"C:\\p\\3.jpg", "Three", "", false, false, 1}})
           .bytes);
  Seed(dir, "plb", "sample",
       PlbWriter()
           .Filler()
           .Header({"Title", "Comment", "Jane", "Doe", "C:\\a.jpg", 36000})
           .Word_lists({"a", "b"}, {"family"})
           .Header({"", "", "", "", "C:\\b.jpg", 2})
           .Word_lists({}, {})
           .bytes());
  Seed(dir, "textcat", "sample",
       "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n"
       "C:\\a.jpg\t\"Sea\"\t sea\tTrips\tNice\tAnn\tMay 1, 1999\t_ABCDEF0.jpg\r\n\r\nb\t\tc\t\r\n");
  Seed(dir, "csv", "sample",
       "Label,Size,Date,Width,Height,Path\r\n"
       "PHOTOS99,1,2,3,4,Photos\\1999,,,,,,,,,,,,,,,,a.jpg,\"Nice, really\",sea sun\r\n"
       "\"L,1\",,,,,\"a,b\",,,,,,,,,,,,,,,,b.jpg\r\nLabel,again\r\n");
  // The metadata target prepends the start marker itself.
  MetadataBlocks blocks;
  Seed(dir, "metadata", "all", With_metadata_blocks("\xFF\xD8\xFF\xD9", blocks).substr(2));
  Seed(dir, "metadata", "exif", Exif_segment(blocks) + "\xFF\xD9");
  Seed(dir, "metadata", "iptc", Iptc_segment(blocks) + "\xFF\xD9");
  Seed(dir, "metadata", "sidecar", "X" + Xmp_segment(blocks).substr(4 + 29));
  return 0;
}
