// EasyPhoto and Adobe Gallery file: a count of pictures and a chain of
// picture records, each pointing at its path, title and comment texts.
// Layout: gal_format.md.
#include "catalog/read_gal.h"

#include <unordered_set>

#include "catalog/byte_reader.h"
#include "catalog/picture_dates.h"
#include "catalog/tdb_tables.h"

namespace zendrel {
namespace {

constexpr int64_t kCountPosition = 200;
constexpr int64_t kFirstRecordCell = 252;
// A record's fields reach up to R+88, so no record takes fewer bytes.
constexpr int64_t kRecordSize = 88;

class GalReader {
 public:
  GalReader(const std::string& bytes, PictureSink& sink, const DriveTable& drives)
      : file_(bytes), sink_(sink), dates_(drives) {}

  Status Read() {
    int32_t count = Read_Quad(file_, kCountPosition);
    if (!file_.ok()) return Status::Error(file_.error());
    // An empty gallery: its first-record cell may point anywhere.
    if (count <= 0) return Status();
    int64_t record = Read_Quad(file_, kFirstRecordCell);
    record = Read_Quad(file_, record);
    if (!file_.ok()) return Status::Error(file_.error());
    // A count the file cannot hold would have the chain revisit records
    // for a very long time.
    if (int64_t(count) * kRecordSize > file_.size())
      return Status::Error("the picture count " + std::to_string(count) +
                           " is more than the file could hold");
    std::unordered_set<int64_t> visited;
    for (int32_t i = 1; i <= count; ++i) {
      if (!visited.insert(record).second)
        return Damaged(i, "the chain of picture records loops back to an earlier record");
      PictureRecord picture;
      record = Read_record(record, i, &picture);
      if (!ok_) return Status::Error(error_);
      sink_.Add_picture(picture);
      if (sink_.Stop_requested()) break;
    }
    return Status();
  }

 private:
  Status Damaged(int32_t number, const std::string& cause) {
    return Status::Error("picture record " + std::to_string(number) + ": " + cause);
  }

  void Fail(int32_t number, const std::string& cause) {
    if (ok_) error_ = Damaged(number, cause).message();
    ok_ = false;
  }

  // The text of `length` bytes at the position; `what` names it.
  std::string Text(int64_t length, int64_t position, int32_t number, const char* what) {
    if (length < 0)
      Fail(number, std::string("the ") + what + " has a negative length");
    else if (position < 0)
      Fail(number, std::string("the ") + what + " has a negative position");
    else if (!file_.Holds(position, length))
      Fail(number, std::string("the ") + what + " (" + std::to_string(length) +
                       " bytes at position " + std::to_string(position) +
                       ") runs past the end of the file");
    return ok_ ? file_.Text(position, length, what) : std::string();
  }

  // Reads the record at `record` (or where it redirects to) into `picture`;
  // gives the position of the next record.
  int64_t Read_record(int64_t record, int32_t number, PictureRecord* picture) {
    if (!file_.Holds(record, 4)) {
      Fail(number, "the record at position " + std::to_string(record) + " lies outside the file");
      return 0;
    }
    int32_t redirect = Read_Quad(file_, record);
    if (redirect > 1) record = redirect;
    if (!file_.Holds(record, kRecordSize)) {
      Fail(number,
           "the record at position " + std::to_string(record) + " runs past the end of the file");
      return 0;
    }
    picture->SourceFile =
        Text(Read_Quad(file_, record + 8), Read_Quad(file_, record + 12), number, "path");
    picture->Title =
        Text(Read_Quad(file_, record + 16), Read_Quad(file_, record + 20), number, "title");
    int32_t comment_position = Read_Quad(file_, record + 44);
    if (comment_position >= 0)
      picture->Comment = Text(Read_Quad(file_, record + 40), comment_position, number, "comment");
    int64_t next = int64_t(Read_Quad(file_, record + 84)) + Read_Quad(file_, record + 80);
    if (ok_) picture->Date = dates_.Date_of(picture->SourceFile);
    return next;
  }

  ByteReader file_;
  PictureSink& sink_;
  PictureDates dates_;
  bool ok_ = true;
  std::string error_;
};

}  // namespace

Status Read_gal(const std::string& bytes, PictureSink& sink, const DriveTable& drives) {
  return GalReader(bytes, sink, drives).Read();
}

}  // namespace zendrel
