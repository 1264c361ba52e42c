#include "imaging/archive_jpegs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "imaging/archive_picture.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_file.h"

namespace zendrel {

ArchiveJpegs Make_archive_jpegs(const std::string& original) {
  PictureWorkspace& work = Thread_workspace();
  ArchiveJpegs made;
  const RgbImage* shown = nullptr;
  if (Read_picture_file(original, kMaxPictureBytes, &work.file, &made.reading.problem))
    shown = Upright_picture(work, work.file, kDisplayBox, false, &made.reading);
  if (shown) {
    made.display = std::string(work.encoder.Encode(*shown, kArchiveQuality));
    // The thumbnail comes from the display copy's pixels, as if it had been
    // made from the display file, without decoding that file again.
    Thumbnail_into(*shown, work.scratch, &work.thumbnail);
    made.thumbnail = std::string(work.encoder.Encode(work.thumbnail, kArchiveQuality));
    made.readable = !made.display.empty() && !made.thumbnail.empty();
    if (!made.readable) made.reading.problem = ReadProblem::kDamaged;
  }
  work.Trim();
  return made;
}

std::string Made_from_text(long long size, long long modified_ns, const std::string& name) {
  // A comment segment holds at most 65533 bytes; a name is cut well within.
  return "zendrel made from " + std::to_string(size) + " " + std::to_string(modified_ns) + " " +
         name.substr(0, 1000);
}

std::string With_comment(const std::string& jpeg, const std::string& text) {
  if (jpeg.size() < 2) return jpeg;
  size_t length = text.size() + 2;
  std::string segment = "\xFF\xFE";
  segment += char(length >> 8);
  segment += char(length & 0xFF);
  return jpeg.substr(0, 2) + segment + text + jpeg.substr(2);
}

bool Is_archive_copy(const std::string& path, PixelSize box, bool exact,
                     const std::string& made_from) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  std::string head(16 * 1024, '\0');
  char tail[2] = {0, 0};
  bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 4;
  if (read) {
    ssize_t got = ::pread(fd, head.data(), head.size(), 0);
    read = got > 0 && ::pread(fd, tail, 2, info.st_size - 2) == 2;
    head.resize(got > 0 ? size_t(got) : 0);
  }
  ::close(fd);
  if (!read || static_cast<unsigned char>(tail[0]) != 0xFF ||
      static_cast<unsigned char>(tail[1]) != 0xD9)
    return false;
  if (head.find(With_comment("\xFF\xD8", made_from)) != 0) return false;
  JpegDecoder decoder;
  auto size = decoder.Read_size(head);
  if (!size || size->width <= 0 || size->height <= 0) return false;
  if (exact) return *size == box;
  return size->width <= box.width && size->height <= box.height;
}

}  // namespace zendrel
