#include "app/frm_edit_html.h"

namespace zendrel {
// Placeholder until the record editor lands.
void Show_record_editor(QWidget*) {}
}  // namespace zendrel
