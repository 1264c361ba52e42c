// The pictures' own descriptions, written by exiftool and read back: each
// field from each of its sources in their order, sidecars, texts in several
// scripts, camera placeholders and damaged blocks.
#include "catalog/picture_metadata.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "support/exiftool.h"
#include "support/jpeg_fixture.h"
#include "support/needs_tool.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

class PictureMetadataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZENDREL_NEEDS_TOOL(testing::Have_exiftool(), "exiftool (libimage-exiftool-perl)");
  }
  // A fresh picture `name` with `tags` written; its native path.
  std::string Picture(const std::string& name, std::vector<std::string> tags) {
    std::string path = dir.Write(name, testing::Small_jpeg());
    tags.push_back(path);
    pending.push_back(tags);
    return path;
  }
  void Write_all() {
    ASSERT_TRUE(testing::Run_exiftool(pending));
    pending.clear();
  }
  TempDir dir;
  std::vector<std::vector<std::string>> pending;
};

using Field = std::function<std::string(const PictureMetadata&)>;

struct Source {
  std::vector<std::string> tags;  // what exiftool writes
  std::string expected;           // what the field then reads
};

// For each field: its sources, first first. Picture k carries sources k to
// the last, so it shows source k.
struct FieldSources {
  const char* name;
  Field field;
  std::vector<Source> sources;
};

TEST_F(PictureMetadataTest, EachFieldComesFromItsFirstSourceThatHoldsIt) {
  std::vector<FieldSources> fields = {
      {"title",
       [](const PictureMetadata& m) { return m.title; },
       {{{"-XMP-dc:Title=Harbour at dawn"}, "Harbour at dawn"},
        {{"-IPTC:ObjectName=Harbour (IPTC)"}, "Harbour (IPTC)"},
        {{"-IPTC:Headline=Harbour (headline)"}, "Harbour (headline)"},
        {{"-XPTitle=Harbour (XP)"}, "Harbour (XP)"},
        // Captions are never titles.
        {{"-EXIF:ImageDescription=Caption", "-IPTC:Caption-Abstract=Caption",
          "-XMP-dc:Description=Caption", "-EXIF:UserComment=Caption"},
         ""}}},
      {"subject",
       [](const PictureMetadata& m) { return m.subject; },
       {{{"-XMP-dc:Subject=sea", "-XMP-dc:Subject=fishing boats",
          "-XMP-dc:Subject=darktable|changed"},
         "sea, fishing boats"},
        {{"-XMP-lr:HierarchicalSubject=Places|France|Brest",
          "-XMP-lr:HierarchicalSubject=People|Ann",
          "-XMP-lr:HierarchicalSubject=darktable|format|jpg",
          "-XMP-lr:HierarchicalSubject=Pick|flagged"},
         "Brest, Ann"},
        {{"-XMP-digiKam:TagsList=Places/Italy/Rome",
          "-XMP-digiKam:TagsList=digiKam/Color Label/Red"},
         "Rome"},
        {{"-IPTC:Keywords=iptc1", "-IPTC:Keywords=iptc 2"}, "iptc1, iptc 2"},
        {{"-XPKeywords=xp1;xp2"}, "xp1, xp2"}}},
      {"category",
       [](const PictureMetadata& m) { return m.category; },
       {{{"-XMP-photoshop:Category=Trips"}, "Trips"}, {{"-IPTC:Category=FAM"}, "FAM"}}},
      {"comment",
       [](const PictureMetadata& m) { return m.comment; },
       {{{"-XMP-dc:Description=Fog over the quay"}, "Fog over the quay"},
        {{"-IPTC:Caption-Abstract=IPTC caption"}, "IPTC caption"},
        {{"-EXIF:ImageDescription=EXIF description"}, "EXIF description"},
        {{"-EXIF:UserComment=EXIF comment"}, "EXIF comment"},
        {{"-XPComment=XP comment"}, "XP comment"},
        {{"-XPSubject=XP subject"}, "XP subject"},
        {{"-Comment=JPEG comment"}, "JPEG comment"}}},
      {"author",
       [](const PictureMetadata& m) { return m.author; },
       {{{"-XMP-dc:Creator=Ann Lee"}, "Ann Lee"},
        {{"-IPTC:By-line=Bob Ray"}, "Bob Ray"},
        {{"-EXIF:Artist=Carl Fox"}, "Carl Fox"},
        {{"-XPAuthor=Dan Poe"}, "Dan Poe"}}},
      {"date",
       [](const PictureMetadata& m) { return m.date; },
       {{{"-EXIF:DateTimeOriginal=2001:02:03 04:05:06"}, "February 3, 2001"},
        {{"-XMP-photoshop:DateCreated=2003-04-05"}, "April 5, 2003"},
        {{"-XMP-exif:DateTimeOriginal=2002-03-04T05:06:07"}, "March 4, 2002"},
        {{"-IPTC:DateCreated=2004:05:06"}, "May 6, 2004"},
        {{"-EXIF:CreateDate=2005:06:07 08:09:10"}, "June 7, 2005"},
        {{"-XMP-xmp:CreateDate=1987-06"}, "June 1987"}}},
  };
  std::vector<std::tuple<std::string, Field, std::string>> checks;
  for (const FieldSources& f : fields) {
    for (size_t k = 0; k < f.sources.size(); ++k) {
      std::vector<std::string> tags;
      for (size_t s = k; s < f.sources.size(); ++s)
        tags.insert(tags.end(), f.sources[s].tags.begin(), f.sources[s].tags.end());
      std::string name = std::string(f.name) + std::to_string(k) + ".jpg";
      checks.emplace_back(Picture(name, tags), f.field, f.sources[k].expected);
    }
  }
  Write_all();
  for (const auto& [path, field, expected] : checks) {
    PictureMetadata m = Read_picture_metadata(path);
    EXPECT_EQ(field(m), expected) << path;
    EXPECT_FALSE(m.damaged) << path;
  }
}

TEST_F(PictureMetadataTest, ASidecarWinsForEveryFieldItHolds) {
  std::string both = Picture("both.jpg", {"-XMP-dc:Title=Embedded", "-XMP-dc:Creator=Ann"});
  std::string short_name = Picture("short.jpg", {"-XMP-dc:Title=Embedded"});
  std::string over_iptc = Picture("iptc.jpg", {"-IPTC:ObjectName=IPTC"});
  std::string none = Picture("none.jpg", {"-XMP-dc:Title=Embedded"});
  std::string dated = Picture("dated.jpg", {"-EXIF:DateTimeOriginal=2001:02:03 04:05:06",
                                            "-EXIF:ImageDescription=Camera caption"});
  std::string upper = Picture("upper.jpg", {"-XMP-dc:Title=Embedded"});
  // A date that cannot be falls through to the next source.
  std::string impossible = Picture("impossible.jpg", {"-EXIF:DateTimeOriginal=2019:02:30 00:00:00",
                                                      "-XMP-photoshop:DateCreated=2003-04-05"});
  pending.push_back({"-XMP-dc:Title=Full name", "-o", dir.Native("both.jpg.xmp")});
  pending.push_back({"-XMP-dc:Title=Stem", "-o", dir.Native("both.xmp")});
  pending.push_back({"-XMP-dc:Title=Stem only", "-o", dir.Native("short.xmp")});
  pending.push_back(
      {"-XMP-dc:Title=Sidecar", "-XMP-dc:Subject=sidecar", "-o", dir.Native("iptc.jpg.xmp")});
  pending.push_back({"-XMP-photoshop:DateCreated=1987", "-XMP-dc:Description=Fixed caption", "-o",
                     dir.Native("dated.xmp")});
  pending.push_back({"-XMP-dc:Title=Upper case", "-o", dir.Native("upper.jpg.xmp")});
  Write_all();
  dir.Write("none.jpg.xmp", "not XMP at all");
  ASSERT_EQ(std::rename(dir.Native("upper.jpg.xmp").c_str(), dir.Native("upper.jpg.XMP").c_str()),
            0);

  PictureMetadata m = Read_picture_metadata(both);
  EXPECT_EQ(m.title, "Full name");  // darktable's name before digiKam's
  EXPECT_EQ(m.author, "Ann");       // a field the sidecar lacks: the embedded XMP
  EXPECT_EQ(Read_picture_metadata(short_name).title, "Stem only");
  m = Read_picture_metadata(over_iptc);
  EXPECT_EQ(m.title, "Sidecar");
  EXPECT_EQ(m.subject, "sidecar");
  m = Read_picture_metadata(none);
  EXPECT_EQ(m.title, "Embedded");
  m = Read_picture_metadata(dated);
  EXPECT_EQ(m.date, "1987");  // a date fixed in the sidecar, year alone, wins over the camera's
  EXPECT_EQ(m.comment, "Fixed caption");
  EXPECT_EQ(Read_picture_metadata(upper).title, "Upper case");
  EXPECT_EQ(Read_picture_metadata(impossible).date, "April 5, 2003");
}

TEST_F(PictureMetadataTest, TextsInSeveralScriptsArriveAsUtf8) {
  const std::string greek = "Ελληνικά", russian = "Русский", japanese = "日本語 写真",
                    hebrew = "עברית", latin = "Café Ærø ß";
  std::string xmp = Picture("xmp.jpg", {"-XMP-dc:Title=" + greek, "-XMP-dc:Subject=" + japanese,
                                        "-XMP-dc:Description=" + latin});
  std::string iptc =
      Picture("iptc.jpg", {"-IPTC:CodedCharacterSet=UTF8", "-IPTC:Caption-Abstract=" + russian,
                           "-IPTC:By-line=" + hebrew});
  std::string exif = Picture("exif.jpg", {"-EXIF:UserComment=" + japanese + " 😀",
                                          "-XPAuthor=" + greek, "-XPKeywords=" + russian});
  std::string ascii = Picture("ascii.jpg", {"-EXIF:ImageDescription=" + latin});
  Write_all();

  PictureMetadata m = Read_picture_metadata(xmp);
  EXPECT_EQ(m.title, greek);
  EXPECT_EQ(m.subject, japanese);
  EXPECT_EQ(m.comment, latin);
  m = Read_picture_metadata(iptc);
  EXPECT_EQ(m.comment, russian);
  EXPECT_EQ(m.author, hebrew);
  m = Read_picture_metadata(exif);
  EXPECT_EQ(m.comment, japanese + " 😀");  // UTF-16 with a surrogate pair
  EXPECT_EQ(m.author, greek);
  EXPECT_EQ(m.subject, russian);
  EXPECT_EQ(Read_picture_metadata(ascii).comment, latin);
}

TEST_F(PictureMetadataTest, CameraPlaceholdersAreNoDescriptions) {
  std::string olympus = Picture("olympus.jpg", {"-EXIF:ImageDescription=OLYMPUS DIGITAL CAMERA",
                                                "-EXIF:UserComment=        "});
  std::string under = Picture(
      "under.jpg", {"-XMP-dc:Title=SONY DSC", "-XMP-dc:Description= ", "-IPTC:Headline=Harbour",
                    "-IPTC:Caption-Abstract=Quay"});
  Write_all();
  PictureMetadata m = Read_picture_metadata(olympus);
  EXPECT_EQ(m.title, "");
  EXPECT_EQ(m.comment, "");
  m = Read_picture_metadata(under);
  EXPECT_EQ(m.title, "Harbour");
  EXPECT_EQ(m.comment, "Quay");
}

// The TIFF header of the EXIF block, which every IFD offset counts from.
size_t Tiff_header_at(const std::string& jpeg) {
  size_t exif = jpeg.find(std::string("Exif\0\0", 6));
  return exif == std::string::npos ? exif : exif + 6;
}

TEST_F(PictureMetadataTest, ADamagedExifBlockLeavesTheOtherBlocksRead) {
  std::string path =
      Picture("a.jpg", {"-EXIF:Artist=Carl", "-EXIF:DateTimeOriginal=2001:02:03 04:05:06",
                        "-XMP-dc:Title=Harbour", "-IPTC:Keywords=sea"});
  Write_all();
  std::string good = dir.Read("a.jpg");
  size_t tiff = Tiff_header_at(good);
  ASSERT_NE(tiff, std::string::npos);

  std::string bad_order = good;
  bad_order.replace(tiff, 2, "XX");  // neither "II" nor "MM"
  std::string far_ifd = good;
  far_ifd.replace(tiff + 4, 4, "\x7f\xff\xff\xff", 4);  // IFD0 beyond the block
  std::string endless_ifd = good;
  endless_ifd.replace(tiff + 8, 2, "\xff\xff", 2);  // 65535 entries in IFD0
  for (const std::string& damaged : {bad_order, far_ifd, endless_ifd}) {
    PictureMetadata m = Read_picture_metadata_bytes(damaged, "");
    EXPECT_TRUE(m.damaged);
    EXPECT_EQ(m.title, "Harbour");
    EXPECT_EQ(m.subject, "sea");
  }
  // The same through the file, and a file cut inside its metadata.
  dir.Write("b.jpg", bad_order);
  EXPECT_EQ(Read_picture_metadata(dir.Native("b.jpg")).title, "Harbour");
  dir.Write("c.jpg", good.substr(0, tiff + 40));
  EXPECT_EQ(Read_picture_metadata(dir.Native("c.jpg")).title, "");

  PictureMetadata intact = Read_picture_metadata(path);
  EXPECT_FALSE(intact.damaged);
  EXPECT_EQ(intact.author, "Carl");
  EXPECT_EQ(intact.date, "February 3, 2001");
}

// Phones' and editors' formats carry the same fields; Exiv2 alone finds
// none in a HEIF file that heif-enc made, so libheif's items are read too.
TEST_F(PictureMetadataTest, OtherFormatsCarryTheSameFields) {
  ZENDREL_NEEDS_TOOL(std::system("convert -version >/dev/null 2>&1 && cwebp -version >/dev/null "
                                 "2>&1 && heif-enc --version >/dev/null 2>&1") == 0,
                     "ImageMagick, cwebp and heif-enc (imagemagick, webp, libheif-examples)");
  std::string jpeg = dir.Write("source.jpg", testing::Small_jpeg());
  const std::vector<std::pair<std::string, std::string>> formats = {
      {"p.png", "convert " + jpeg + " "},
      {"t.tif", "convert " + jpeg + " "},
      {"w.webp", "cwebp -quiet " + jpeg + " -o "},
      {"h.heic", "heif-enc -q 50 " + jpeg + " -o "}};
  for (const auto& [name, command] : formats) {
    ASSERT_EQ(std::system((command + dir.Native(name) + " >/dev/null 2>&1").c_str()), 0) << name;
    pending.push_back({"-XMP-dc:Title=Title of " + name,
                       "-EXIF:DateTimeOriginal=2021:06:05 10:00:00", dir.Native(name)});
  }
  Write_all();
  for (const auto& [name, command] : formats) {
    PictureMetadata m = Read_picture_metadata(dir.Native(name));
    EXPECT_EQ(m.title, "Title of " + name);
    EXPECT_NE(m.date.find("2021"), std::string::npos) << name << ": " << m.date;
    EXPECT_FALSE(m.damaged) << name;
  }
}

TEST(PictureMetadata, NoJpegHasNoMetadataAndNoDamage) {
  TempDir dir;
  for (const std::string& bytes :
       {std::string(), std::string("GIF89a...."), std::string("\xFF\xD8")}) {
    dir.Write("x.jpg", bytes);
    PictureMetadata m = Read_picture_metadata(dir.Native("x.jpg"));
    EXPECT_EQ(m.title + m.subject + m.comment + m.date, "");
    EXPECT_FALSE(m.damaged);
    EXPECT_FALSE(Read_picture_metadata_bytes(bytes, "").damaged);
  }
  EXPECT_FALSE(Read_picture_metadata(dir.Native("missing.jpg")).damaged);
  // A plain JPEG without any block.
  PictureMetadata plain = Read_picture_metadata_bytes(testing::Small_jpeg(), "");
  EXPECT_FALSE(plain.damaged);
  EXPECT_EQ(plain.title, "");
}

}  // namespace
}  // namespace zendrel
