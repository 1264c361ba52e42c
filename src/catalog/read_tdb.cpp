// ThumbsPlus V3 database: every picture of the picture table, its path built
// from its folder and the drive that now carries the folder's volume, its
// keywords gathered through the link table. Layout: tdb_format.md.
#include "catalog/read_tdb.h"

#include <tuple>
#include <unordered_map>
#include <vector>

#include "catalog/byte_reader.h"
#include "catalog/picture_dates.h"
#include "catalog/tdb_tables.h"
#include "platform/drive_table.h"

namespace zendrel {
namespace {

constexpr int64_t kKeywordAnchor = 4149;
constexpr int64_t kVolumeAnchor = 4175;
constexpr int64_t kFolderAnchor = 4198;
constexpr int64_t kLinkAnchor = 4229;
constexpr int64_t kPictureAnchor = 4252;
constexpr int kIndexEntrySize = 8;

struct Volume {
  int32_t key = 0;
  std::string label;
  char letter = 0;  // 0 until a drive carrying the label is found
};

// Finds the first record in table order whose key matches, reading the
// table only as far as needed and remembering what it read, so looking up
// many keys costs one pass instead of one pass each.
class FirstByKey {
 public:
  // `key_and_position(i)` gives record i's key and the position it stands for.
  template <typename KeyAt>
  const int64_t* Find(int32_t key, int64_t count, KeyAt key_and_position) {
    if (auto found = first_.find(key); found != first_.end()) return &found->second;
    while (scanned_ < count) {
      auto [record_key, position] = key_and_position(scanned_++);
      auto inserted = first_.emplace(record_key, position);
      if (record_key == key && inserted.second) return &inserted.first->second;
    }
    return nullptr;
  }

 private:
  std::unordered_map<int32_t, int64_t> first_;
  int64_t scanned_ = 0;
};

class TdbReader {
 public:
  TdbReader(const std::string& bytes, PictureSink& sink, const DriveTable& drives)
      : file_(bytes),
        sink_(sink),
        drives_(drives),
        dates_(drives),
        pictures_(file_, kPictureAnchor, 8, "picture table"),
        links_(file_, kLinkAnchor, 12, "keyword link table"),
        keywords_(file_, kKeywordAnchor, 8, "keyword table") {}

  Status Read() {
    Read_Field(pictures_, 0, 0, 0);
    Read_Field(links_, 0, 0, 0);
    Read_Field(keywords_, 0, 0, 0);
    Read_volumes();
    Read_folder_index();
    if (!file_.ok()) return Status::Error(file_.error());
    Give_volumes_drives();
    for (int64_t i = 0; i < pictures_.count(); ++i) {
      PictureRecord record = Picture(i);
      if (!file_.ok())
        return Status::Error(file_.error() + " (picture " + std::to_string(i + 1) + ")");
      sink_.Add_picture(record);
      if (sink_.Stop_requested()) break;
    }
    return Status();
  }

 private:
  // The index header at `anchor`: its entry count and its first entry.
  std::pair<int64_t, int64_t> Index(int64_t anchor, const char* name) {
    int64_t header = Read_QuadRev(file_, anchor);
    int32_t count = Read_QuadRev(file_, header + 24);
    int64_t first = int64_t(Read_QuadRev(file_, header + 28)) + 18;
    if (!file_.ok()) return {0, 0};
    if (count < 0 || int64_t(count) * kIndexEntrySize > file_.size()) {
      file_.Fail(std::string("the ") + name + " claims " + std::to_string(count) +
                 " entries, more than the file could hold");
      return {0, 0};
    }
    return {count, first};
  }

  // Every volume is read: pictures on volumes past the sixteenth still get
  // their drive.
  void Read_volumes() {
    auto [count, entry] = Index(kVolumeAnchor, "volume index");
    for (int64_t j = 0; j < count && file_.ok(); ++j, entry += kIndexEntrySize) {
      Volume volume;
      volume.key = Read_Quad(file_, entry + 4);
      volume.label = file_.Field_text(int64_t(Read_QuadRev(file_, entry)) + 78, 64, "volume label");
      volumes_.push_back(volume);
    }
  }

  void Read_folder_index() {
    std::tie(folder_count_, first_folder_) = Index(kFolderAnchor, "folder index");
  }

  // Drives C to Z, then A and B, until every volume has one. A drive the
  // table does not know cannot be read and carries no label.
  void Give_volumes_drives() {
    size_t matches = 0;
    for (char letter : std::string("CDEFGHIJKLMNOPQRSTUVWXYZAB")) {
      if (matches >= volumes_.size()) break;
      const Drive* drive = drives_.Find(letter);
      if (!drive) continue;
      for (Volume& volume : volumes_) {
        if (volume.label == drive->label) {
          volume.letter = letter;
          ++matches;
          break;
        }
      }
    }
  }

  // The first volume with the key, as a damaged file may give one key twice.
  std::string Drive_of_volume(int32_t key) {
    if (volume_of_key_.empty()) {
      for (size_t v = 0; v < volumes_.size(); ++v) volume_of_key_.emplace(volumes_[v].key, v);
    }
    auto found = volume_of_key_.find(key);
    if (found == volume_of_key_.end()) return "";
    char letter = volumes_[found->second].letter;
    return letter ? std::string(1, letter) + ":\\" : "";
  }

  PictureRecord Picture(int64_t i) {
    int32_t picture_key = Read_Field(pictures_, i, 22, -1);
    int32_t folder_key = Read_Field(pictures_, i, 26, -1);
    std::string file_name = Read_Field_text(pictures_, i, 82, 256);
    PictureRecord record;
    record.SourceFile = Folder_of(folder_key) + file_name;
    record.Subject = Keywords_of(picture_key);
    if (!file_.ok()) return record;
    record.Date = dates_.Date_of(record.SourceFile);
    return record;
  }

  // Drive and folder path with its "\"; empty for a folder key that names
  // no folder, so the picture still goes on by its file name (which is all
  // that counts when the pictures are looked up in a chosen source directory).
  std::string Folder_of(int32_t folder_key) {
    const int64_t* entry = folders_.Find(folder_key, folder_count_, [&](int64_t j) {
      int64_t at = first_folder_ + j * kIndexEntrySize;
      return std::pair<int32_t, int64_t>(Read_Quad(file_, at + 4), at);
    });
    if (!entry || !file_.ok()) return "";
    int64_t folder = Read_QuadRev(file_, *entry);
    std::string drive = Drive_of_volume(Read_QuadRev(file_, folder + 26));
    std::string path = file_.Field_text(folder + 38, 256, "folder path");
    return path.empty() ? drive : drive + path + "\\";
  }

  // The keywords of the links that name the picture, in link-table order.
  std::string Keywords_of(int32_t picture_key) {
    if (!links_read_) Read_links();
    std::string subject;
    auto links = links_by_picture_.find(picture_key);
    if (links == links_by_picture_.end()) return subject;
    for (int64_t link : links->second) {
      int32_t keyword_key = file_.Be32(link + 23, "keyword key of a link");
      const int64_t* keyword =
          keyword_records_.Find(keyword_key, keywords_.count(), [&](int64_t l) {
            int32_t key = Read_Field(keywords_, l, 19, 1);
            return std::pair<int32_t, int64_t>(key, keywords_.Record_position(l));
          });
      if (!file_.ok()) break;
      if (keyword) subject += " " + file_.Field_text(*keyword + 26, 256, "keyword");
    }
    return subject;
  }

  // One pass over the link table, grouping links by picture key in table order.
  void Read_links() {
    links_read_ = true;
    for (int64_t j = 0; j < links_.count() && file_.ok(); ++j) {
      int32_t picture_key = Read_Field(links_, j, 19, 1);
      int64_t record = links_.Record_position(j);
      if (file_.ok()) links_by_picture_[picture_key].push_back(record);
    }
  }

  ByteReader file_;
  PictureSink& sink_;
  const DriveTable& drives_;
  TableCursor pictures_, links_, keywords_;
  std::vector<Volume> volumes_;
  std::unordered_map<int32_t, size_t> volume_of_key_;
  int64_t folder_count_ = 0, first_folder_ = 0;
  FirstByKey folders_, keyword_records_;
  bool links_read_ = false;
  std::unordered_map<int32_t, std::vector<int64_t>> links_by_picture_;
  PictureDates dates_;
};

}  // namespace

Status Read_tdb(const std::string& bytes, PictureSink& sink, const DriveTable& drives) {
  return TdbReader(bytes, sink, drives).Read();
}

}  // namespace zendrel
