// The commands over an existing archive: list its records, edit one, delete
// one. They read DIR's archive.htm into a table of their own and change it
// through the same editing core as the record editor window.
#pragma once

#include <string>
#include <vector>

#include "cli/command.h"
#include "edit/editor_prompts.h"
#include "page/record_table.h"
#include "platform/archive_lock.h"

namespace zendrel::cli {

// zendrel records DIR
int Records_command(const std::vector<std::string>& args, Streams& io);
// zendrel edit DIR --record N [--title T] [--keywords K] [--category C]
//                  [--comment X] [--author A] [--date D]
int Edit_command(const std::vector<std::string>& args, Streams& io);
// zendrel delete DIR --record N --yes
int Delete_command(const std::vector<std::string>& args, Streams& io);

// Reads the archive page of the directory DIR (native, or Windows view
// through `drives`) into `table`; false, with the message on io.err, when it cannot be read. With
// `lock`, the archive's lock is taken first and kept there, so that no other
// run changes the page between this reading and the command's rewrite.
bool Read_page_argument(const std::string& command, const DriveTable& drives,
                        const std::string& dir, RecordTable& table, Streams& io,
                        ArchiveLock* lock = nullptr);

// The record number of --record: a whole number naming a record of `table`;
// 0, with the message on io.err, otherwise.
int Record_argument(const std::string& command, const std::string& text, const RecordTable& table,
                    Streams& io);

// The editor's messages on the terminal: kept until the command knows
// whether it succeeded, Yes/No questions answered with `yes_no_answer`.
class TerminalPrompts : public EditorPrompts {
 public:
  Answer yes_no_answer = Answer::kNo;
  std::vector<std::string> messages;  // as shown, in the system's text

  Answer Ask(const std::string& text, Buttons buttons, const std::string& title) override;
  // Prints the kept messages, one a line.
  void Print(std::ostream& out, const std::string& command) const;
};

}  // namespace zendrel::cli
