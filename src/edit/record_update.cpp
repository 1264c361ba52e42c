#include "edit/record_update.h"

#include "edit/normalize_date.h"
#include "edit/record_number.h"
#include "edit/rewrite_archive.h"
#include "page/script_value.h"

namespace zendrel {
namespace {

EditResult Rewrite(EditorSession& session, EditorPrompts& prompts) {
  Status written = Rewrite_archive(session);
  if (written.ok()) return EditResult::kDone;
  prompts.Ask(written.message(), Buttons::kOk);
  return EditResult::kWriteFailed;
}

}  // namespace

EditableFields Stored_fields(const RecordTable& table, int record) {
  const ArchiveRecord& r = table.Record(record);
  return {r.title, r.subject, r.category, r.comment, r.author, r.picdate};
}

EditResult Update_record(EditorSession& session, int record, const EditableFields& boxes,
                         EditorPrompts& prompts) {
  auto date = Normalize_date(boxes.date);
  if (!date) {
    prompts.Ask(boxes.date + " is not a valid date", Buttons::kOk);
    return EditResult::kRefused;
  }
  // Typed text is held in the page's safe form, so the table, the page and
  // a later reading of the page all agree.
  // Record 0 has no place in the table: its values are dropped, and the
  // page is written again unchanged, as for a number past the last record.
  if (ArchiveRecord* r = session.table.Change(record)) {
    r->picdate = Safe_script_value(*date);
    r->title = Safe_script_value(boxes.title);
    r->subject = Safe_script_value(boxes.keywords);
    r->category = Safe_script_value(boxes.category);
    r->comment = Safe_script_value(boxes.comment);
    r->author = Safe_script_value(boxes.author);
  }
  return Rewrite(session, prompts);
}

EditResult Delete_record(EditorSession& session, int record, EditorPrompts& prompts) {
  RecordTable& table = session.table;
  // A number without a record would be "deleted" with nothing removed.
  if (record < 1 || record > kHighestRecordNumber || table.Record(record).thumb.empty()) {
    prompts.Ask("Invalid record number.", Buttons::kOk);
    return EditResult::kRefused;
  }
  std::string question = "Delete record " + std::to_string(record) + " ?";
  if (prompts.Ask(question, Buttons::kYesNo, "Delete!") != Answer::kYes)
    return EditResult::kDeclined;
  table.Erase(record);
  EditResult result = Rewrite(session, prompts);
  if (result == EditResult::kDone) prompts.Ask("Please reload the web page.", Buttons::kOk);
  return result;
}

}  // namespace zendrel
