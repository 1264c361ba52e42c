// Writes seed corpora for the fuzz targets from the fixture writers of the
// tests: make_seeds DIR makes DIR/<reader>/ with a few good inputs each.
#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/fixtures/gal_writer.h"
#include "catalog/fixtures/plb_writer.h"
#include "catalog/fixtures/tdb_writer.h"
#include "support/jpeg_fixture.h"
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
  Seed(dir, "page_records", "sample",
       "<script>\r\ncat.add(\"_AAAAAA0.jpg\", \"\",\r\n  \"C:\\\\P\", \"a.jpg\",\r\n"
       "  \"Sea\", \"sea\",\r\n  \"Trips\", \"Nice\",\r\n  \"Ann\", \"May 1, 1999\");\r\n"
       "cat.add(\"_AAAAAA1.jpg\", \"\", \"C:\", \"b.jpg\", \"\", \"\", \"\", \"\", \"\", \"\");\n"
       "cat.add(\"x\"\rcat.add\n");
  std::string jpeg = Small_jpeg(24, 16);
  Seed(dir, "jpeg_layout", "plain", jpeg);
  Seed(dir, "jpeg_layout", "cut", jpeg.substr(0, jpeg.size() / 2));
  // An EXIF block (a TIFF header and an empty directory) right after the
  // start-of-image marker.
  std::string exif("Exif\0\0II*\0\x08\0\0\0\0\0\0\0\0\0", 20);
  std::string segment = "\xff\xe1" + std::string(1, char((exif.size() + 2) >> 8)) +
                        std::string(1, char(exif.size() + 2)) + exif;
  Seed(dir, "jpeg_layout", "exif", jpeg.substr(0, 2) + segment + jpeg.substr(2));
  return 0;
}
