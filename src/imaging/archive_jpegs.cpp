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
  if (Read_picture_file(original, kMaxPictureBytes, &work.file))
    shown = Upright_picture(work, work.file, kDisplayBox, false);
  if (shown) {
    made.display = std::string(work.encoder.Encode(*shown, kArchiveQuality));
    // The thumbnail comes from the display copy's pixels, as if it had been
    // made from the display file, without decoding that file again.
    Thumbnail_into(*shown, work.scratch, &work.thumbnail);
    made.thumbnail = std::string(work.encoder.Encode(work.thumbnail, kArchiveQuality));
    made.readable = !made.display.empty() && !made.thumbnail.empty();
  }
  work.Trim();
  return made;
}

bool Is_archive_copy(const std::string& path, PixelSize box, bool exact) {
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
  JpegDecoder decoder;
  auto size = decoder.Read_size(head);
  if (!size || size->width <= 0 || size->height <= 0) return false;
  if (exact) return *size == box;
  return size->width <= box.width && size->height <= box.height;
}

}  // namespace zendrel
