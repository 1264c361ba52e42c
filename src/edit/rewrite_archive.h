// Writes an archive's page and catalogue again from the editor's records:
// archive.htm (page head, one record line per record, page tail) and
// archive.txt (an eight-label header, one line per record). The first
// rewrite of an editor opening first copies the page to archive_bak.htm
// (through a temporary file too, so a kill never leaves half a backup).
//
// Both files are written to temporaries beside them and replace the
// originals only when both are complete; a failure leaves the last good
// page in place and names the file and the cause.
#pragma once

#include <string>

#include "edit/editor_session.h"
#include "page/record_line.h"
#include "platform/status.h"

namespace zendrel {

Status Rewrite_archive(EditorSession& session);

}  // namespace zendrel
