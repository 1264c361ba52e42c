// zendrel demo [DIR]: an archive built from sample pictures the program
// draws itself, to see what Zendrel makes without pictures of one's own. The
// pictures come with a small catalogue of titles, keywords and dates, so the
// demo page has index words, a date range and titles to search and show.
#include <filesystem>
#include <map>
#include <ostream>

#include "cli/build_command.h"
#include "cli/command.h"
#include "imaging/sample_pictures.h"
#include "platform/codepage.h"
#include "platform/output_file.h"

namespace zendrel::cli {
namespace {

// Title, subject, category, comment, author, date of each sample picture
// (native UTF-8 names, as Demo_samples gives them).
const std::map<std::string, std::vector<std::string>>& Descriptions() {
  static const std::map<std::string, std::vector<std::string>> texts{
      {"IMG_0001.JPG",
       {"Hills at noon", "sky clouds hills", "Landscapes", "A bright day in the hills", "Ann",
        "May 3, 2001"}},
      {"IMG_0002.JPG",
       {"Taken with the phone upright", "sky hills", "Landscapes", "Turned by its orientation tag",
        "Ben", "June 14, 2002"}},
      {"IMG_0003.JPG", {"Tall hills", "mountains sky", "Landscapes", "", "Ann", "June 14, 2002"}},
      {"harbour.jpg",
       {"The harbour", "water hills", "Places", "The largest of the pictures", "Cy",
        "July 4, 2003"}},
      {"garden.jpg",
       {"Garden view", "hills grass", "Places", "Also turned by its tag", "Ann", "April 1, 2004"}},
      {"Caf\xC3\xA9.jpg",
       {"View from the caf\xC3\xA9", "sky", "Places", "A name outside ASCII", "Di", "May 1, 2004"}},
      {"evening.jpg", {"Evening sky", "sunset clouds", "Landscapes", "", "Ben", "August 9, 2005"}},
      {"upside_down.jpg",
       {"Upside down", "sky", "Fun", "Stored upside down, shown upright", "Cy", "August 9, 2005"}},
  };
  return texts;
}

// A tab-delimited catalogue of the sample pictures, in Windows-1252 as the
// build reads it. Returns an error text, or empty.
std::string Write_catalogue(const DriveTable& drives, const std::filesystem::path& pictures,
                            const std::vector<SamplePicture>& samples, const std::string& file) {
  OutputFile out;
  if (Status opened = out.Open(drives, file); !opened.ok()) return opened.message();
  out.Write_line("SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate");
  std::string folder = Windows_view(drives, pictures.string());
  for (const SamplePicture& sample : samples) {
    std::string line = folder + "\\" + sample.file_name;
    auto found = Descriptions().find(sample.file_name);
    if (found != Descriptions().end())
      for (const std::string& text : found->second) line += "\t" + text;
    out.Write_line(Utf8_to_system_text(line));
  }
  Status committed = out.Commit();
  return committed.ok() ? std::string() : committed.message();
}

}  // namespace

int Demo_command(const std::vector<std::string>& args, Streams& io) {
  std::string dir = args.empty() ? "zendrel-demo" : args[0];
  std::error_code ec;
  std::filesystem::path root = std::filesystem::absolute(dir, ec);
  std::filesystem::path pictures = root / "sample-pictures";
  std::filesystem::path archive = root / "archive";
  std::vector<SamplePicture> samples = Demo_samples();
  Status made = Write_samples(pictures.string(), samples);
  if (!made.ok()) {
    io.err << "zendrel demo: " << made.message() << "\n";
    return 1;
  }
  // The build below makes the same table again from the same defaults.
  DriveTable drives = DriveTable::Defaults();
  std::string catalogue = Windows_view(drives, (pictures / "pictures.txt").string());
  if (std::string failed = Write_catalogue(drives, pictures, samples, catalogue); !failed.empty()) {
    io.err << "zendrel demo: " << failed << "\n";
    return 1;
  }
  std::filesystem::create_directories(archive, ec);
  if (ec) {
    io.err << "zendrel demo: " << archive.string() << ": " << ec.message() << "\n";
    return 1;
  }
  int status =
      Build_command({"--catalog", catalogue, "--dest", archive.string(), "--copy", "no"}, io);
  if (status != 0) return status;
  io.out << "Open " << (archive / "archive.htm").string() << " in a web browser.\n";
  return 0;
}

}  // namespace zendrel::cli
