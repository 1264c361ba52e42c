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
  return {table.Get(record, 5), table.Get(record, 6), table.Get(record, 7),
          table.Get(record, 8), table.Get(record, 9), table.Get(record, 10)};
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
  RecordTable& table = session.table;
  table.Set(record, 10, Safe_script_value(*date));
  table.Set(record, 5, Safe_script_value(boxes.title));
  table.Set(record, 6, Safe_script_value(boxes.keywords));
  table.Set(record, 7, Safe_script_value(boxes.category));
  table.Set(record, 8, Safe_script_value(boxes.comment));
  table.Set(record, 9, Safe_script_value(boxes.author));
  return Rewrite(session, prompts);
}

EditResult Delete_record(EditorSession& session, int record, EditorPrompts& prompts) {
  RecordTable& table = session.table;
  // A number without a record would be "deleted" with nothing removed.
  if (record < 1 || record > kHighestRecordNumber || table.Get(record, 1).empty()) {
    prompts.Ask("Invalid record number.", Buttons::kOk);
    return EditResult::kRefused;
  }
  std::string question = "Delete record " + std::to_string(record) + " ?";
  if (prompts.Ask(question, Buttons::kYesNo, "Delete!") != Answer::kYes)
    return EditResult::kDeclined;
  int r = record;
  for (; r < RecordTable::kMaxRecords && !table.Get(r, 1).empty(); ++r) {
    for (int field = 1; field <= RecordTable::kFields; ++field)
      table.Set(r, field, table.Get(r + 1, field));
  }
  if (r == RecordTable::kMaxRecords) {
    for (int field = 1; field <= RecordTable::kFields; ++field) table.Set(r, field, "");
  }
  EditResult result = Rewrite(session, prompts);
  if (result == EditResult::kDone) prompts.Ask("Please reload the web page.", Buttons::kOk);
  return result;
}

}  // namespace zendrel
