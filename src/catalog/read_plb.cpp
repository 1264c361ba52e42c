// Photo Organizer library: the file is scanned byte by byte for two
// signatures; a picture header follows the first, the picture's word lists
// follow the second, and each word list hands one picture on.
// Layout: plb_format.md.
#include "catalog/read_plb.h"

#include <cmath>
#include <cstring>

#include "catalog/byte_reader.h"
#include "platform/dates.h"

namespace zendrel {
namespace {

constexpr unsigned char kHeaderSignature[11] = {0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                                                0x00, 0x08, 0x08, 0x13, 0x44};
constexpr unsigned char kWordListSignature[10] = {0xE1, 0x40, 0x00, 0x00, 0x00,
                                                  0x00, 0x00, 0x00, 0x00, 0x00};

// The three stored bytes are the fifth to seventh byte of a double whose
// eighth byte is 0x40 and whose low four bytes are zero.
std::string Date_text(int b0, int b1, int b2) {
  int64_t e = b0 + 256 * b1 + 65536 * b2;
  double day_number = std::ldexp(2.0 + double(e % 1048576) / 524288.0, int(e / 1048576));
  return Long_date_of_day_number(int64_t(std::floor(day_number)));
}

class PlbReader {
 public:
  PlbReader(const std::string& bytes, PictureSink& sink)
      : bytes_(bytes), file_(bytes), sink_(sink) {
    std::memset(window_, ' ', sizeof window_);
  }

  Status Read() {
    int64_t position = 0;
    while (position < file_.size()) {
      std::memmove(window_, window_ + 1, sizeof window_ - 1);
      window_[sizeof window_ - 1] = static_cast<unsigned char>(bytes_[position++]);
      if (std::memcmp(window_, kHeaderSignature, sizeof kHeaderSignature) == 0) {
        position = Read_header(position);
      } else if (std::memcmp(window_ + 1, kWordListSignature, sizeof kWordListSignature) == 0) {
        position = Read_word_lists(position);
        if (!file_.ok()) return Status::Error(file_.error());
        sink_.Add_picture(Picture());
        if (sink_.Stop_requested()) break;
      }
      if (!file_.ok()) return Status::Error(file_.error());
    }
    return Status();
  }

 private:
  // A length byte and that many characters; `at` moves past them.
  std::string Counted(int64_t& at, const char* what) {
    int length = file_.Byte(at, what);
    std::string text = file_.Text(at + 1, length, what);
    at += 1 + length;
    return text;
  }

  int64_t Read_header(int64_t at) {
    title_ = Counted(at, "title of a picture header");
    at += 4;
    comment_ = Counted(at, "comment of a picture header");
    author_second_ = Counted(at, "author of a picture header");
    source_file_ = Counted(at, "path of a picture header");
    author_first_ = Counted(at, "author of a picture header");
    at += 4;
    int b0 = file_.Byte(at, "date of a picture header");
    int b1 = file_.Byte(at + 1, "date of a picture header");
    int b2 = file_.Byte(at + 2, "date of a picture header");
    if (file_.ok()) date_ = Date_text(b0, b1, b2);
    return at + 3;
  }

  std::string Words(int64_t& at) {
    int count = file_.Byte(at++, "word count of a word list");
    std::string words;
    for (int i = 0; i < count && file_.ok(); ++i) words += " " + Counted(at, "word of a word list");
    return words;
  }

  int64_t Read_word_lists(int64_t at) {
    subject_ = Words(at);
    category_ = Words(at);
    return at;
  }

  // The author is formed afresh for every picture, so a second word list
  // after one header repeats the author rather than doubling its last part.
  PictureRecord Picture() const {
    PictureRecord record;
    record.SourceFile = source_file_;
    record.Title = title_;
    record.Subject = subject_;
    record.Category = category_;
    record.Comment = comment_;
    record.Author = author_first_;
    if (!author_first_.empty() && author_first_.back() != ' ') record.Author += " ";
    record.Author += author_second_;
    record.Date = date_;
    return record;
  }

  const std::string& bytes_;
  ByteReader file_;
  PictureSink& sink_;
  unsigned char window_[11];
  std::string title_, comment_, author_first_, author_second_, source_file_, date_;
  std::string subject_, category_;
};

}  // namespace

Status Read_plb(const std::string& bytes, PictureSink& sink) {
  return PlbReader(bytes, sink).Read();
}

}  // namespace zendrel
