#include "catalog/read_csv.h"

#include <gtest/gtest.h>

#include "catalog/fixtures/recording_sink.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace zendrel::testing {
namespace {

// A line of the export: label, folder, file name, comment, subject in their
// columns, the rest filled with `filler`.
std::string Line(const std::string& label, const std::string& folder, const std::string& name,
                 const std::string& comment, const std::string& subject,
                 const std::string& filler = "x") {
  std::string line = label;
  for (int column = 2; column <= 24; ++column) {
    line += ",";
    if (column == 6)
      line += folder;
    else if (column == 22)
      line += name;
    else if (column == 23)
      line += comment;
    else if (column == 24)
      line += subject;
    else
      line += filler;
  }
  return line + "\r\n";
}

class ReadCsv : public ::testing::Test {
 protected:
  std::vector<PictureRecord> Read(const std::string& text) {
    RecordingSink sink;
    EXPECT_TRUE(Read_csv(text, sink, labels, run_drives).ok());
    return sink.records;
  }
  DriveTable run_drives = Root_drives();  // this test's own
  LabelDriveTable labels;
  TempDir d, e, a;
};

TEST_F(ReadCsv, ColumnsMakeThePictureAndTheDateComesFromTheFile) {
  run_drives.Set('D', d.native(), "PHOTOS99");
  d.Make_dir("Trips");
  d.Write("Trips/IMG_1.jpg", "jpeg");
  auto records = Read("Label,b,c,d,e,Path\r\n" +
                      Line("PHOTOS99", "Trips", "IMG_1.jpg", "A comment", "sea sun"));
  ASSERT_EQ(records.size(), 1u);
  const PictureRecord& r = records[0];
  EXPECT_EQ(r.SourceFile, "D:\\Trips\\IMG_1.jpg");
  EXPECT_EQ(r.Comment, "A comment");
  EXPECT_EQ(r.Subject, "sea sun");
  EXPECT_EQ(r.Title + r.Category + r.Author, "");
  EXPECT_EQ(r.Date, Long_date_text(*Modified_time(run_drives, "D:\\Trips\\IMG_1.jpg")));
}

TEST_F(ReadCsv, QuotedCommasStayInTheirFieldAndColumnsKeepPlaces) {
  auto r = Read(Line("\"L,1\"", "\"a,b\"", "n.jpg", "\"say \"\"hi\"\", ok\"", "s", "\"q,q\""))[0];
  EXPECT_EQ(r.SourceFile, "C:\\a,b\\n.jpg");
  EXPECT_EQ(r.Comment, "say \"\"hi\"\", ok");  // doubled quotes left as they are
  EXPECT_EQ(r.Subject, "s");
  EXPECT_EQ(labels.entries[0].label, "L,1");
}

TEST_F(ReadCsv, ShortAndLongLines) {
  auto r = Read("VOL,b,c,d,e,Folder\r\n")[0];  // fewer than 24 fields
  EXPECT_EQ(r.SourceFile, "C:\\Folder\\");
  EXPECT_EQ(r.Comment + r.Subject, "");
  std::string line = Line("VOL", "F", "n.jpg", "c", "s");
  line.insert(line.size() - 2, ",25th,26th");  // extra columns are ignored
  r = Read(line)[0];
  EXPECT_EQ(r.Subject, "s");
  EXPECT_EQ(r.SourceFile, "C:\\F\\n.jpg");
}

TEST_F(ReadCsv, TheFirstLabelLineIsTheHeaderWhereverItStands) {
  auto records = Read(Line("V", "f", "1.jpg", "", "") + "Label,x\r\n" + "Label,y\r\n");
  ASSERT_EQ(records.size(), 2u);  // the record, then the second "Label" line
  EXPECT_EQ(records[1].SourceFile, "C:\\\\");
  EXPECT_EQ(Read("label,x\r\n").size(), 1u);  // case matters
  EXPECT_EQ(Read("\r\n").size(), 1u);         // blank lines are handed on
}

TEST_F(ReadCsv, LabelsFindTheirDrivesInOrderAndAreRemembered) {
  DriveTable drives;  // the run's table, not the process's
  drives.Set('D', d.native(), "TWIN");
  drives.Set('E', e.native(), "TWIN");
  drives.Set('A', a.native(), "FLOPPY");
  EXPECT_EQ(Find_LabelDrive(labels, "TWIN", drives), "D");
  EXPECT_EQ(Find_LabelDrive(labels, "FLOPPY", drives), "A");
  EXPECT_EQ(Find_LabelDrive(labels, "NOWHERE", drives), "C");
  EXPECT_EQ(Find_LabelDrive(labels, "twin", drives), "C");
  ASSERT_EQ(labels.entries.size(), 4u);
  EXPECT_EQ(labels.entries[2].letter, "C");
  // Answered from the table afterwards, even when the volume has moved.
  drives.Set('D', d.native(), "OTHER");
  EXPECT_EQ(Find_LabelDrive(labels, "TWIN", drives), "D");
}

TEST_F(ReadCsv, PastSixteenLabelsTheDrivesAreAskedEachTime) {
  DriveTable drives;
  for (int i = 0; i < 16; ++i) Find_LabelDrive(labels, "L" + std::to_string(i), drives);
  drives.Set('F', d.native(), "SEVENTEENTH");
  EXPECT_EQ(Find_LabelDrive(labels, "SEVENTEENTH", drives), "F");
  EXPECT_EQ(labels.entries.size(), 16u);
  drives.Set('G', e.native(), "SEVENTEENTH");
  drives.Set('F', d.native(), "");
  EXPECT_EQ(Find_LabelDrive(labels, "SEVENTEENTH", drives), "G");
  EXPECT_EQ(Find_LabelDrive(labels, "L3", drives), "C");  // the first sixteen stay
}

TEST_F(ReadCsv, StopsAfterTheLineWhereTheStopWasAsked) {
  RecordingSink sink;
  sink.stop_after = 1;
  Read_csv("Label\r\n" + Line("V", "f", "1.jpg", "", "") + Line("V", "f", "2.jpg", "", ""), sink,
           labels, run_drives);
  EXPECT_EQ(sink.records.size(), 1u);
}

}  // namespace
}  // namespace zendrel::testing
