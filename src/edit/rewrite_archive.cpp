#include "edit/rewrite_archive.h"

#include "page/page_head.h"
#include "page/page_tail.h"
#include "platform/file_system.h"
#include "platform/output_file.h"

namespace zendrel {

Status Rewrite_archive(EditorSession& session) {
  const std::string page_path = session.directory + "archive.htm";
  const std::string staging_path = session.directory + "archive.txt";
  if (!session.lock.held()) {
    if (Status locked = session.lock.Acquire(session.drives, session.directory); !locked.ok())
      return locked;
  }
  if (!session.backup_made) {
    Status copied = Copy_file(session.drives, page_path, session.directory + "archive_bak.htm");
    if (!copied.ok()) return copied;
    session.backup_made = true;
  }

  OutputFile page;
  OutputFile staging;
  if (Status opened = page.Open(session.drives, page_path); !opened.ok()) return opened;
  if (Status opened = staging.Open(session.drives, staging_path); !opened.ok()) return opened;
  staging.Write_line(kRecordStagingHeader);
  Write_page_head(page);
  for (int r = 1, count = session.table.Count(); r <= count; ++r) {
    const ArchiveRecord& record = session.table.Record(r);
    Write_record_line(page, record);
    staging.Write_line(Staging_line(record));
  }
  Write_page_tail(page);
  if (!page.status().ok()) return page.status();
  if (!staging.status().ok()) return staging.status();

  // Both are written out before either replaces anything.
  return Replace_together({&staging, &page});
}

}  // namespace zendrel
