#include "imaging/picture_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "imaging/picture_format.h"
#include "platform/posix_file.h"

namespace zendrel {

bool Read_picture_file(const std::string& path, size_t max_bytes, std::string* bytes,
                       ReadProblem* problem) {
  ReadProblem ignored;
  if (!problem) problem = &ignored;
  FileDescriptor file;
  if (!Open_regular_file(path, path, &file).ok()) {
    *problem =
        errno == EACCES || errno == EPERM ? ReadProblem::kNoPermission : ReadProblem::kMissing;
    return false;
  }
  *problem = ReadProblem::kMissing;
  struct stat info;
  if (::fstat(file.get(), &info) != 0) return false;
  if (info.st_size <= 0) *problem = ReadProblem::kEmpty;
  if (size_t(info.st_size) > max_bytes) *problem = ReadProblem::kTooLarge;
  if (info.st_size <= 0 || size_t(info.st_size) > max_bytes) return false;
  bytes->resize(size_t(info.st_size));
  ssize_t done = Read_full(file.get(), bytes->data(), bytes->size());
  // A file that shrank under us is read as far as it goes.
  bytes->resize(done < 0 ? 0 : size_t(done));
  *problem = bytes->empty() ? ReadProblem::kEmpty : ReadProblem::kNone;
  return !bytes->empty();
}

ReadProblem Picture_file_problem(const std::string& path) {
  FileDescriptor file;
  if (!Open_regular_file(path, path, &file).ok())
    return errno == EACCES || errno == EPERM ? ReadProblem::kNoPermission : ReadProblem::kMissing;
  char head[kFormatHeadBytes];
  ssize_t got = Read_full(file.get(), head, sizeof head);
  if (got < 0) return ReadProblem::kMissing;
  if (got == 0) return ReadProblem::kEmpty;
  switch (Picture_format_of(std::string_view(head, size_t(got)))) {
    case PictureFormat::kUnknown:
      return ReadProblem::kNotPicture;
    case PictureFormat::kGif:
      return ReadProblem::kUnsupportedFormat;
    default:
      return ReadProblem::kNone;
  }
}

std::string Write_whole_file(const std::string& path, const void* data, size_t size) {
  Status written =
      Write_file_atomically(path, std::string_view(static_cast<const char*>(data), size), path);
  if (written.ok()) return {};
  // The cause alone: callers name the file in their own view.
  return written.message().substr(path.size() + 2);
}

}  // namespace zendrel
