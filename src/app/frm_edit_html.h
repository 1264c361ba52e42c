// The record editor window over the RecordTable.
#pragma once

class QWidget;

namespace zendrel {

// Opens the record editor, not modal, on record 1 of the RecordTable; it
// hides `main_window` while open and shows it again when closed.
void Show_record_editor(QWidget* main_window);

}  // namespace zendrel
