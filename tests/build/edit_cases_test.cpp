// The run driver's edit cases reach the page reader and the editor.
#include <gtest/gtest.h>

#include "build/make_archive.h"
#include "page/record_table.h"
#include "support/archive_page.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(EditCases, ChosenPageIsReadAndTheEditorOpened) {
  testing::TempDir temp;
  testing::Write_archive_page(temp.Win() + "\\", testing::Sample_records(2));
  for (int mode : {5, 1, 2}) {
    testing::ScriptedHost host;
    host.mode = mode;
    host.cat_dir = temp.Win();
    host.cat_file = "archive.htm";
    EXPECT_EQ(Make_archive(host).end, RunEnd::kEdited) << mode;
    EXPECT_EQ(host.editor_shown, 1);
    EXPECT_EQ(host.edited.Count(), 2);
    EXPECT_EQ(host.edited.directory(), temp.Win() + "\\");
  }
  EXPECT_FALSE(temp.Exists("archive.txt"));  // nothing is written
}

TEST(EditCases, UnreadablePageIsNamedAndTheEditorStaysClosed) {
  testing::TempDir temp;
  testing::ScriptedHost host;
  host.mode = 5;
  host.cat_dir = temp.Win();
  host.cat_file = "archive.htm";
  EXPECT_EQ(Make_archive(host).end, RunEnd::kFailed);
  EXPECT_EQ(host.editor_shown, 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], temp.Win() + "\\archive.htm: No such file or directory");
}

}  // namespace
}  // namespace zendrel
