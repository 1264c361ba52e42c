// The directory scan with and without the pictures' own descriptions.
#include <gtest/gtest.h>
#include <utime.h>

#include <ctime>

#include "catalog/fixtures/recording_sink.h"
#include "catalog/metadata_text.h"
#include "catalog/scan_source.h"
#include "support/exiftool.h"
#include "support/file_dates.h"
#include "support/jpeg_fixture.h"
#include "support/needs_tool.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::RecordingSink;
using testing::TempDir;

using testing::Set_modified;

class ScanMetadataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZENDREL_NEEDS_TOOL(testing::Have_exiftool(), "exiftool (libimage-exiftool-perl)");
    for (const char* name : {"tagged.jpg", "plain.jpg", "broken.jpg", "sidecar.jpg"})
      dir.Write(std::string("src/") + name, testing::Small_jpeg());
    ASSERT_TRUE(testing::Run_exiftool({
        {"-XMP-dc:Title=Harbour", "-XMP-dc:Subject=sea", "-XMP-dc:Subject=boats",
         "-XMP-photoshop:Category=Trips", "-XMP-dc:Description=Café 日本", "-XMP-dc:Creator=Ann",
         "-EXIF:DateTimeOriginal=2001:02:03 04:05:06", dir.Native("src/tagged.jpg")},
        {"-XMP-dc:Title=Quay", "-EXIF:DateTimeOriginal=2002:03:04 05:06:07",
         dir.Native("src/broken.jpg")},
        {"-XMP-dc:Title=Beside", "-o", dir.Native("src/sidecar.jpg.xmp")},
    }));
    // The EXIF block of broken.jpg loses its byte order.
    std::string broken = dir.Read("src/broken.jpg");
    size_t tiff = broken.find(std::string("Exif\0\0", 6));
    ASSERT_NE(tiff, std::string::npos);
    broken.replace(tiff + 6, 2, "XX");
    dir.Write("src/broken.jpg", broken);
    for (const char* name : {"tagged.jpg", "plain.jpg", "broken.jpg", "sidecar.jpg"})
      Set_modified(dir.Native(std::string("src/") + name), 2010, 6, 7);
  }

  const PictureRecord& Record(const RecordingSink& sink, const std::string& name) {
    for (const PictureRecord& r : sink.records)
      if (r.SourceFile == dir.Win("src") + "\\" + name) return r;
    static PictureRecord none;
    ADD_FAILURE() << name << " not delivered";
    return none;
  }

  TempDir dir;
};

TEST_F(ScanMetadataTest, WithoutTheOptionTheRecordsAreFileNamesAndDatesAlone) {
  RecordingSink before, off;
  ASSERT_TRUE(Scan_source(dir.Win("src"), before, testing::Root_drives()).ok());
  MetadataOption option;
  ASSERT_TRUE(Scan_source(dir.Win("src"), off, testing::Root_drives(), &option).ok());
  ASSERT_EQ(off.records.size(), 4u);
  ASSERT_EQ(before.records.size(), 4u);
  for (size_t i = 0; i < off.records.size(); ++i) {
    const PictureRecord& r = off.records[i];
    const PictureRecord& b = before.records[i];
    EXPECT_EQ(r.SourceFile, b.SourceFile);
    EXPECT_EQ(r.Title + r.Subject + r.Category + r.Comment + r.Author, "");
    EXPECT_EQ(r.Date, "June 7, 2010");
    EXPECT_EQ(b.Title + b.Subject + b.Category + b.Comment + b.Author, "");
    EXPECT_EQ(r.Date, b.Date);
  }
  EXPECT_EQ(option.degraded, 0);
}

TEST_F(ScanMetadataTest, WithTheOptionEachRecordTakesWhatItsPictureHolds) {
  RecordingSink sink;
  MetadataOption option{true};
  ASSERT_TRUE(Scan_source(dir.Win("src"), sink, testing::Root_drives(), &option).ok());
  ASSERT_EQ(sink.records.size(), 4u);

  const PictureRecord& tagged = Record(sink, "tagged.jpg");
  EXPECT_EQ(tagged.Title, "Harbour");
  EXPECT_EQ(tagged.Subject, "sea, boats");
  EXPECT_EQ(tagged.Category, "Trips");
  EXPECT_EQ(tagged.Comment, System_text_from_metadata("Café 日本"));
  EXPECT_EQ(tagged.Comment.substr(0, 5), "Caf\xE9 ");  // the system's own code page
  EXPECT_EQ(tagged.Author, "Ann");
  EXPECT_EQ(tagged.Date, "February 3, 2001");

  const PictureRecord& plain = Record(sink, "plain.jpg");
  EXPECT_EQ(plain.Title + plain.Subject + plain.Category + plain.Comment + plain.Author, "");
  EXPECT_EQ(plain.Date, "June 7, 2010");  // no date inside: the file's

  const PictureRecord& broken = Record(sink, "broken.jpg");
  EXPECT_EQ(broken.Title, "Quay");         // the XMP block still read
  EXPECT_EQ(broken.Date, "June 7, 2010");  // the EXIF date went with its block
  EXPECT_EQ(Record(sink, "sidecar.jpg").Title, "Beside");
  EXPECT_EQ(option.degraded, 1);
}

TEST_F(ScanMetadataTest, AStopEndsTheScanAndItsReader) {
  RecordingSink sink;
  sink.stop_after = 1;
  MetadataOption option{true};
  ASSERT_TRUE(Scan_source(dir.Win("src"), sink, testing::Root_drives(), &option).ok());
  EXPECT_EQ(sink.records.size(), 1u);
}

}  // namespace
}  // namespace zendrel
