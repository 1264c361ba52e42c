// The destination's files are found without regard to case, as a lookup in
// the directory itself would find them, from one listing per run.
#include "build/destination_index.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

TEST(DestinationIndexTest, FindsNamesAsTheDirectoryLookupWould) {
  TempDir dir;
  dir.Write("dest/_ABCDEF1.jpg", "spelled as asked");
  dir.Write("dest/_abcdef9.JPG", "another case");
  dir.Write("dest/_ABCDEFJ.jpg", "one of two");
  dir.Write("dest/_abcdefj.jpg", "two of two");
  DestinationIndex index;
  std::string dest = dir.Win("dest") + "\\";
  EXPECT_EQ(index.Native(dest, "_ABCDEF1.jpg"), dir.Native("dest/_ABCDEF1.jpg"));
  EXPECT_EQ(index.Native(dest, "_ABCDEF9.jpg"), dir.Native("dest/_abcdef9.JPG"));
  EXPECT_EQ(index.Native(dest, "_ABCDEFS.jpg"), dir.Native("dest/_ABCDEFS.jpg"));  // to be made
  // Two names alike but for case: neither is taken for a third spelling.
  EXPECT_EQ(index.Native(dest, "_AbcdefJ.jpg"), dir.Native("dest/_AbcdefJ.jpg"));

  // Files made after the listing, under the names asked for, are found.
  dir.Write("dest/_ABCDEFS.jpg", "made by the run");
  EXPECT_EQ(index.Native(dest, "_ABCDEFS.jpg"), dir.Native("dest/_ABCDEFS.jpg"));
  // Another destination is listed afresh.
  dir.Write("other/_abcdef1.jpg", "elsewhere");
  EXPECT_EQ(index.Native(dir.Win("other") + "\\", "_ABCDEF1.jpg"),
            dir.Native("other/_abcdef1.jpg"));
}

}  // namespace
}  // namespace zendrel
