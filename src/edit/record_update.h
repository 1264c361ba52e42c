// The editor's two changes to an archive: Update stores the six editable
// fields of one record and rewrites the archive; Delete removes one record
// and rewrites it. Both talk to the user through EditorPrompts with the
// editor's own messages, and report a failed rewrite there too (the file
// and the cause), leaving the editor open on its records.
#pragma once

#include <string>

#include "edit/editor_prompts.h"
#include "edit/editor_session.h"

namespace zendrel {

// The six editable boxes, as typed (Windows-1252).
struct EditableFields {
  std::string title, keywords, category, comment, author, date;
};

// The editable boxes of a stored record, as they are held.
EditableFields Stored_fields(const RecordTable& table, int record);

enum class EditResult {
  kDone,         // stored (deleted) and the archive rewritten
  kRefused,      // the date, or the record number, was refused; nothing changed
  kDeclined,     // the user answered No; nothing changed
  kWriteFailed,  // the table holds the change, the files do not
};

// Update of record `record` (0 or 1 to 10000). The stored picdate of the
// record afterwards is what the date box should show: the normalised date,
// or the old one when the date was refused.
EditResult Update_record(EditorSession& session, int record, const EditableFields& boxes,
                         EditorPrompts& prompts);

// Delete of record `record` after the question (title "Delete!").
EditResult Delete_record(EditorSession& session, int record, EditorPrompts& prompts);

}  // namespace zendrel
