// zendrel delete DIR --record N --yes: the editor's Delete of one record,
// the question answered by --yes.
#include <ostream>
#include <utility>

#include "cli/archive_commands.h"
#include "cli/options.h"
#include "edit/record_update.h"

namespace zendrel::cli {

int Delete_command(const std::vector<std::string>& args, Streams& io) {
  Options options(args, {"record"}, {"yes"});
  if (!options.ok() || options.positional().size() != 1 || !options.Get("record")) {
    io.err << "zendrel delete: "
           << (options.ok() ? "give the archive's directory and --record N" : options.error())
           << "\n";
    return 2;
  }
  if (!options.Has("yes")) {
    io.err << "zendrel delete: deleting a record cannot be undone here; add --yes to do it\n";
    return 2;
  }
  DriveTable drives = DriveTable::Defaults();
  RecordTable table;
  ArchiveLock lock;
  if (!Read_page_argument("delete", drives, options.positional()[0], table, io, &lock)) return 1;
  int record = Record_argument("delete", *options.Get("record"), table, io);
  if (record == 0) return 1;

  EditorSession session(drives, table, std::move(lock));
  TerminalPrompts prompts;
  prompts.yes_no_answer = Answer::kYes;
  bool done = Delete_record(session, record, prompts) == EditResult::kDone;
  prompts.Print(done ? io.out : io.err, "delete");
  return done ? 0 : 1;
}

}  // namespace zendrel::cli
