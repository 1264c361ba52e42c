// zendrel edit DIR --record N [...]: the editor's Update of one record, with
// the options as the typed boxes; a box not given keeps its stored value.
#include <ostream>
#include <utility>

#include "cli/archive_commands.h"
#include "cli/options.h"
#include "edit/record_update.h"
#include "platform/codepage.h"

namespace zendrel::cli {

int Edit_command(const std::vector<std::string>& args, Streams& io) {
  Options options(args, {"record", "title", "keywords", "category", "comment", "author", "date"},
                  {});
  if (!options.ok() || options.positional().size() != 1 || !options.Get("record")) {
    io.err << "zendrel edit: "
           << (options.ok() ? "give the archive's directory and --record N" : options.error())
           << "\n";
    return 2;
  }
  DriveTable drives = DriveTable::Defaults();
  RecordTable table;
  ArchiveLock lock;
  if (!Read_page_argument("edit", drives, options.positional()[0], table, io, &lock)) return 1;
  int record = Record_argument("edit", *options.Get("record"), table, io);
  if (record == 0) return 1;

  EditableFields boxes = Stored_fields(table, record);
  auto take = [&](const char* name, std::string& box) {
    if (auto value = options.Get(name)) box = Utf8_to_system_text(*value);
  };
  take("title", boxes.title);
  take("keywords", boxes.keywords);
  take("category", boxes.category);
  take("comment", boxes.comment);
  take("author", boxes.author);
  take("date", boxes.date);

  EditorSession session(drives, table, std::move(lock));
  TerminalPrompts prompts;
  EditResult result = Update_record(session, record, boxes, prompts);
  bool done = result == EditResult::kDone;
  prompts.Print(done ? io.out : io.err, "edit");
  return done ? 0 : 1;
}

}  // namespace zendrel::cli
