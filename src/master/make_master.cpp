#include "master/make_master.h"

#include <array>
#include <cstring>
#include <vector>

#include "page/page_records.h"
#include "page/record_line.h"
#include "page/script_value.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

struct SubdirectoryPage {
  std::string page;    // the subdirectory's archive.htm, Windows view
  std::string prefix;  // the subdirectory's name and "/"
};

// The prefix stands in the page's script, in the reading rule's quotes and
// in the src of the viewer's pictures: a quote, backslash or line break
// would break the first two, and "#", "?" or "%" the picture's address.
// "<" and ">" would turn a name into markup of the detail view. A reference
// to a character outside Windows-1252 is fine: the page's HTML reads it as
// that character, in the address too.
bool Name_fits_page(const std::string& name) {
  for (size_t i = 0; i < name.size(); ++i) {
    char32_t cp = 0;
    size_t reference = Character_reference_at(name, i, &cp);
    if (reference > 0 && cp != '&') {
      i += reference - 1;
      continue;
    }
    unsigned char c = name[i];
    if (c < 0x20 || c == 0x7f || std::strchr("\"\\#?%<>", c) != nullptr) return false;
  }
  return true;
}

std::string Joined(const std::array<std::string, 5>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line;
  return joined;
}

class MasterCopy {
 public:
  explicit MasterCopy(MasterRun& run) : run_(run) {}

  Status Run() {
    run_.staging().Write_line(kRecordStagingHeader);
    std::vector<SubdirectoryPage> pages;
    if (Status listed = List_pages(&pages); !listed.ok()) return listed;
    run_.Expect_pages(int32_t(pages.size()));
    for (const SubdirectoryPage& page : pages) {
      run_.Count_one();
      run_.Do_events();
      // One page that cannot be read whole costs only its own records.
      if (Status copied = Copy_page(page); !copied.ok()) notes_.push_back(copied.message());
      if (run_.Stop_requested()) break;
    }
    return Result();
  }

 private:
  Status List_pages(std::vector<SubdirectoryPage>* pages) {
    std::string dest = Add_backslash(run_.Dest_dir());
    std::vector<std::string> names;
    if (Status listed = List_directory(run_.Drives(), dest, "*", ListFilter::kDirectories, &names);
        !listed.ok())
      return listed;
    for (const std::string& name : names) {
      std::string page = dest + name + "\\archive.htm";
      if (!Plain_file_exists(run_.Drives(), page)) continue;
      if (!Name_fits_page(name)) {
        notes_.push_back(dest + name +
                         ": left out, as its name holds a character that the page cannot carry "
                         "(a quote, backslash, #, ?, %, < or > or a control character)");
        continue;
      }
      pages->push_back({page, name + "/"});
    }
    return {};
  }

  Status Copy_page(const SubdirectoryPage& page) {
    prefix_ = page.prefix;
    std::string bytes;
    if (Status read = Read_page_bytes(run_.Drives(), page.page, &bytes); !read.ok()) return read;
    return For_each_page_record(bytes, page.page, [&](int, const std::vector<std::string>& values) {
      return Copy_record(values);
    });
  }

  Status Copy_record(const std::vector<std::string>& found) {
    ArchiveRecord record = Archive_record(found);
    record.thumb = prefix_ + record.thumb;
    record.file = prefix_ + record.file;
    Write_record_line(run_.page(), record);
    return Add_master_catalogue_line(run_.staging(), Joined(Record_lines(record)));
  }

  Status Result() const {
    if (notes_.empty()) return {};
    std::string text = notes_[0];
    for (size_t i = 1; i < notes_.size(); ++i) text += "\r" + notes_[i];
    return Status::Error(text);
  }

  MasterRun& run_;
  std::string prefix_;
  std::vector<std::string> notes_;  // messages for the user, in order
};

}  // namespace

Status Make_master(MasterRun& run) { return MasterCopy(run).Run(); }

Status Add_master_catalogue_line(OutputFile& staging, const std::string& joined) {
  std::vector<std::string> values = Split_record_text(joined);
  if (values.size() > 10) return Status::Error("has more than ten values");
  staging.Write_line(Staging_line(Archive_record(values)));
  return {};
}

}  // namespace zendrel
