#include "edit/record_update.h"

#include <gtest/gtest.h>

#include "edit/rewrite_archive.h"
#include "page/archive_page_reader.h"
#include "platform/output_file.h"
#include "support/archive_page.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

struct Asked {
  std::string text;
  Buttons buttons;
  std::string title;
};

class ScriptedPrompts : public EditorPrompts {
 public:
  Answer answer = Answer::kYes;  // for Yes/No questions
  std::vector<Asked> asked;
  Answer Ask(const std::string& text, Buttons buttons, const std::string& title) override {
    asked.push_back({text, buttons, title});
    return buttons == Buttons::kYesNo ? answer : Answer::kOk;
  }
};

class RecordEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::Write_archive_page(Dir(), testing::Sample_records(5));
    ASSERT_TRUE(Read_archive_page(testing::Root_drives(), Dir(), table).ok());
    original_page = temp.Read("archive.htm");
  }
  void TearDown() override { Fail_writes_after_bytes_for_testing(-1); }

  std::string Dir() const { return temp.Win() + "\\"; }
  RecordTable Reread() {
    RecordTable again;
    EXPECT_TRUE(Read_archive_page(testing::Root_drives(), Dir(), again).ok());
    return again;
  }
  EditableFields Typed(const std::string& title, const std::string& date) {
    EditableFields boxes = Stored_fields(table, 2);
    boxes.title = title;
    boxes.date = date;
    return boxes;
  }

  TempDir temp;
  RecordTable table;
  std::string original_page;
  ScriptedPrompts prompts;
};

TEST_F(RecordEditing, RewriteWithoutChangesKeepsEveryRecordLineByteForByte) {
  EditorSession session(testing::Root_drives(), table);
  ASSERT_TRUE(Rewrite_archive(session).ok());
  EXPECT_EQ(testing::Record_lines_of(temp.Read("archive.htm")),
            testing::Record_lines_of(original_page));
  EXPECT_EQ(temp.Read("archive.htm"), original_page);
}

TEST_F(RecordEditing, CatalogueHasTheEditorsHeaderAndSingleBackslashes) {
  table.Change(1)->path = ("C:\\\\Photos");
  table.Change(1)->source = ("a.jpg");
  table.Change(1)->comment = ("tab\there");
  EditorSession session(testing::Root_drives(), table);
  ASSERT_TRUE(Rewrite_archive(session).ok());
  std::string catalogue = temp.Read("archive.txt");
  std::string header = "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tSource\tDate\r\n";
  ASSERT_EQ(catalogue.rfind(header, 0), 0u);
  EXPECT_EQ(catalogue.substr(header.size(), catalogue.find("\r\n", header.size()) - header.size()),
            "C:\\Photos\\a.jpg\tTitle 1\tbeach sea\tHoliday\ttab here\tAnn\tDecember 2, 1999\t"
            "_ABC001.jpg");
  size_t lines = 0;
  for (size_t at = 0; (at = catalogue.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 6u);
}

TEST_F(RecordEditing, UpdateStoresTypedTextSafelyAndItReadsBackIntoTenFields) {
  EditorSession session(testing::Root_drives(), table);
  EditableFields boxes = Typed("say \"hi\"\r\nnext line </script> C:\\x", "12/25/1999");
  boxes.comment = "tab\tand \\u00e9";
  ASSERT_EQ(Update_record(session, 2, boxes, prompts), EditResult::kDone);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(table.Record(2).picdate, "December 25, 1999");
  RecordTable again = Reread();
  EXPECT_EQ(again.Count(), 5);
  for (int r = 1; r <= 6; ++r) {
    EXPECT_EQ(again.Record(r), table.Record(r)) << r;
  }
  EXPECT_EQ(again.Record(2).title, "say \\x22hi\\x22\\r\\nnext line <\\/script> C:\\\\x");
  EXPECT_EQ(again.Record(2).subject, "beach sea");  // the other boxes as stored
  EXPECT_EQ(again.Record(2).path, "C:\\\\Photos\\\\2");
}

TEST_F(RecordEditing, RefusedDateStoresNothingAndWritesNothing) {
  EditorSession session(testing::Root_drives(), table);
  ASSERT_EQ(Update_record(session, 2, Typed("new title", ""), prompts), EditResult::kRefused);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, " is not a valid date");
  EXPECT_EQ(prompts.asked[0].title, "Zendrel");
  EXPECT_EQ(table.Record(2).title, "Title 2");
  EXPECT_FALSE(temp.Exists("archive_bak.htm"));
  EXPECT_FALSE(temp.Exists("archive.txt"));
  EXPECT_FALSE(session.backup_made);
}

TEST_F(RecordEditing, BackupIsMadeOncePerOpening) {
  std::string after_first;
  {
    EditorSession first(testing::Root_drives(), table);  // closed before the editor is opened again
    ASSERT_EQ(Update_record(first, 1, Typed("one", "1999"), prompts), EditResult::kDone);
    EXPECT_TRUE(first.backup_made);
    EXPECT_EQ(temp.Read("archive_bak.htm"), original_page);
    after_first = temp.Read("archive.htm");
    ASSERT_EQ(Update_record(first, 1, Typed("two", "1999"), prompts), EditResult::kDone);
    EXPECT_EQ(temp.Read("archive_bak.htm"), original_page);
  }

  EditorSession reopened(testing::Root_drives(), table);
  std::string before_reopened = temp.Read("archive.htm");
  ASSERT_EQ(Update_record(reopened, 1, Typed("three", "1999"), prompts), EditResult::kDone);
  EXPECT_EQ(temp.Read("archive_bak.htm"), before_reopened);
  EXPECT_NE(before_reopened, after_first);
}

TEST_F(RecordEditing, UpdateOfAnEmptySlotRewritesTheRecordsUnchanged) {
  EditorSession session(testing::Root_drives(), table);
  ASSERT_EQ(Update_record(session, 0, Typed("lost", "1999"), prompts), EditResult::kDone);
  ASSERT_EQ(Update_record(session, 9, Typed("lost", "1999"), prompts), EditResult::kDone);
  EXPECT_EQ(testing::Record_lines_of(temp.Read("archive.htm")),
            testing::Record_lines_of(original_page));
}

TEST_F(RecordEditing, FailedWriteKeepsTheLastGoodPageAndNamesTheFile) {
  temp.Write("archive.txt", "old catalogue\r\n");
  EditorSession session(testing::Root_drives(), table);
  // The backup is written whole; the disk fills during the page.
  Fail_writes_after_bytes_for_testing(static_cast<long long>(original_page.size()) + 200);
  ASSERT_EQ(Update_record(session, 1, Typed("changed", "1999"), prompts), EditResult::kWriteFailed);
  Fail_writes_after_bytes_for_testing(-1);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find(": No space left on device"), std::string::npos);
  EXPECT_NE(prompts.asked[0].text.find(Dir() + "archive."), std::string::npos);
  EXPECT_EQ(temp.Read("archive.htm"), original_page);
  EXPECT_EQ(temp.Read("archive.txt"), "old catalogue\r\n");
  EXPECT_FALSE(temp.Has_temporaries(""));
  EXPECT_EQ(table.Record(1).title, "changed");  // the table keeps the change for a retry
  ASSERT_EQ(Update_record(session, 1, Typed("changed", "1999"), prompts), EditResult::kDone);
  EXPECT_EQ(Reread().Record(1).title, "changed");
}

TEST_F(RecordEditing, MissingPageAtRewriteIsReported) {
  std::remove(temp.Native("archive.htm").c_str());
  EditorSession session(testing::Root_drives(), table);
  EXPECT_EQ(Update_record(session, 1, Typed("x", "1999"), prompts), EditResult::kWriteFailed);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text.rfind(Dir() + "archive.htm: ", 0), 0u);
  EXPECT_FALSE(session.backup_made);
}

TEST_F(RecordEditing, DeleteMovesLaterRecordsDownAfterTheQuestion) {
  EditorSession session(testing::Root_drives(), table);
  ASSERT_EQ(Delete_record(session, 3, prompts), EditResult::kDone);
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[0].text, "Delete record 3 ?");
  EXPECT_EQ(prompts.asked[0].title, "Delete!");
  EXPECT_EQ(prompts.asked[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(prompts.asked[1].text, "Please reload the web page.");
  RecordTable again = Reread();
  EXPECT_EQ(again.Count(), 4);
  EXPECT_EQ(again.Record(3).title, "Title 4");
  EXPECT_EQ(again.Record(4).title, "Title 5");
  EXPECT_EQ(table.Record(5).thumb, "");
  EXPECT_EQ(temp.Read("archive_bak.htm"), original_page);
}

TEST_F(RecordEditing, DeclinedOrInvalidDeleteChangesNothing) {
  EditorSession session(testing::Root_drives(), table);
  prompts.answer = Answer::kNo;
  EXPECT_EQ(Delete_record(session, 2, prompts), EditResult::kDeclined);
  for (int n : {0, 6, 10001}) EXPECT_EQ(Delete_record(session, n, prompts), EditResult::kRefused);
  ASSERT_EQ(prompts.asked.size(), 4u);
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(prompts.asked[i].text, "Invalid record number.");
  EXPECT_EQ(table.Count(), 5);
  EXPECT_EQ(temp.Read("archive.htm"), original_page);
  EXPECT_FALSE(temp.Exists("archive_bak.htm"));
}

TEST_F(RecordEditing, DeletingDownToNoRecordsAndInALargeTable) {
  {
    EditorSession session(testing::Root_drives(), table);  // closed before the next opening
    for (int i = 0; i < 5; ++i) ASSERT_EQ(Delete_record(session, 1, prompts), EditResult::kDone);
    EXPECT_EQ(Reread().Count(), 0);
    EXPECT_EQ(Delete_record(session, 1, prompts), EditResult::kRefused);
  }

  // More records than the old fixed table held: the last and the first go.
  constexpr int kMany = 20'005;
  RecordTable full;
  for (int r = 1; r <= kMany; ++r) full.Change(r)->thumb = ("_t" + std::to_string(r));
  full.Set_directory(Dir());
  EditorSession whole(testing::Root_drives(), full);
  ASSERT_EQ(Delete_record(whole, kMany, prompts), EditResult::kDone);
  EXPECT_EQ(full.Count(), kMany - 1);
  ASSERT_EQ(Delete_record(whole, 1, prompts), EditResult::kDone);
  EXPECT_EQ(full.Record(1).thumb, "_t2");
  EXPECT_EQ(Reread().Count(), kMany - 2);
  EXPECT_EQ(Reread().Record(kMany - 2).thumb, "_t" + std::to_string(kMany - 1));
}

}  // namespace
}  // namespace zendrel
