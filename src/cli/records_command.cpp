// zendrel records DIR: the records of DIR's archive page, one line each,
// fields 1 to 10 separated by tabs, in UTF-8 for the terminal, the values as
// the page's script reads them rather than as script escapes.
#include <ostream>
#include <string_view>
#include <utility>

#include "cli/archive_commands.h"
#include "cli/build_command.h"
#include "cli/cli_host.h"
#include "page/archive_page_reader.h"
#include "page/record_line.h"
#include "page/script_value.h"
#include "platform/codepage.h"
#include "platform/win_path.h"

namespace zendrel::cli {
namespace {

// "&amp;", "&lt;", "&gt;", "&quot;" and "&#92;" as their characters; any
// other markup stays as it is.
std::string Text_of_escaped_html(const std::string& html) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#92;", '\\'}};
  std::string out;
  for (size_t i = 0; i < html.size(); ++i) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (html.compare(i, entity.size(), entity) == 0) {
        out += character;
        i += entity.size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += html[i];
  }
  return out;
}

}  // namespace

bool Read_page_argument(const std::string& command, const DriveTable& drives,
                        const std::string& dir, RecordTable& table, Streams& io,
                        ArchiveLock* lock) {
  std::string unfit;
  auto exact = Exact_windows_view(drives, dir, &unfit);
  if (!exact) {
    io.err << "zendrel " << command << ": " << unfit << "\n";
    return false;
  }
  std::string directory = Add_backslash(*exact);
  Status read;
  if (lock) read = lock->Acquire(drives, directory);
  if (read.ok()) read = Read_archive_page(drives, directory, table);
  if (read.ok()) return true;
  io.err << "zendrel " << command << ": " << Message_for_terminal(read.message()) << "\n";
  return false;
}

int Record_argument(const std::string& command, const std::string& text, const RecordTable& table,
                    Streams& io) {
  int number = 0;
  bool digits = !text.empty() && text.size() <= 8;
  for (char c : text) {
    digits = digits && c >= '0' && c <= '9';
    if (digits) number = number * 10 + (c - '0');
  }
  if (!digits) {
    io.err << "zendrel " << command << ": --record takes a record number, not " << text << "\n";
    return 0;
  }
  if (number < 1 || number > table.Count()) {
    io.err << "zendrel " << command << ": the archive has no record " << text << " (it has "
           << table.Count() << ")\n";
    return 0;
  }
  return number;
}

Answer TerminalPrompts::Ask(const std::string& text, Buttons buttons, const std::string&) {
  if (buttons == Buttons::kYesNo) return yes_no_answer;
  messages.push_back(text);
  return buttons == Buttons::kRetryCancel ? Answer::kCancel : Answer::kOk;
}

void TerminalPrompts::Print(std::ostream& out, const std::string& command) const {
  for (const std::string& message : messages)
    out << "zendrel " << command << ": " << Message_for_terminal(message) << "\n";
}

int Records_command(const std::vector<std::string>& args, Streams& io) {
  if (args.size() != 1) {
    io.err << "zendrel records: give the archive's directory: zendrel records DIR\n";
    return 2;
  }
  DriveTable drives = DriveTable::Defaults();
  RecordTable table;
  // A damaged page still shows what could be read, before the word that it is damaged.
  Status read = Read_archive_page(drives, Add_backslash(Windows_view(drives, args[0])), table);
  for (int record = 1; record <= table.Count(); ++record) {
    const ArchiveRecord& r = table.Record(record);
    // The folder stays in its stored form, backslashes doubled; the other
    // values print as the page shows them, not as script escapes, and the
    // descriptions with the references that text read from a picture
    // enters with turned back into their characters.
    auto plain = [](const std::string& value) {
      return Safe_staging_value(System_text_to_utf8(Text_of_script_value(value)));
    };
    auto described = [](const std::string& value) {
      return Safe_staging_value(
          Text_of_escaped_html(System_text_to_utf8(Text_of_script_value(value))));
    };
    std::string line = plain(r.thumb) + '\t' + plain(r.file) + '\t' +
                       Safe_staging_value(System_text_to_utf8(r.path)) + '\t' + plain(r.source);
    for (const std::string* text : {&r.title, &r.subject, &r.category, &r.comment, &r.author})
      line += '\t' + described(*text);
    line += '\t' + plain(r.picdate);
    io.out << line << "\n";
  }
  if (read.ok()) return 0;
  io.out.flush();
  io.err << "zendrel records: " << Message_for_terminal(read.message()) << "\n";
  return 1;
}

}  // namespace zendrel::cli
