#include "imaging/heif_grid.h"

#include <cstdint>

namespace zendrel {
namespace {

// Big-endian reading within bounds: a read past the end gives nothing.
class Reader {
 public:
  Reader(std::string_view bytes, size_t at = 0) : bytes_(bytes), at_(at) {}
  bool ok() const { return ok_; }
  size_t at() const { return at_; }
  uint64_t Number(int size) {
    uint64_t value = 0;
    if (size < 0 || size > 8 || at_ > bytes_.size() || bytes_.size() - at_ < size_t(size)) {
      ok_ = false;
      return 0;
    }
    for (int i = 0; i < size; ++i) value = value << 8 | uint8_t(bytes_[at_++]);
    return value;
  }
  std::string_view Text(size_t size) {
    if (at_ > bytes_.size() || bytes_.size() - at_ < size) {
      ok_ = false;
      return {};
    }
    at_ += size;
    return bytes_.substr(at_ - size, size);
  }

 private:
  std::string_view bytes_;
  size_t at_;
  bool ok_ = true;
};

struct Box {
  std::string_view type;
  std::string_view body;  // after the header
  size_t body_at = 0;     // where the body starts in the bytes read
};

// The boxes that follow each other in `bytes`, until one does not fit.
template <typename Visit>
void For_each_box(std::string_view bytes, Visit visit) {
  size_t at = 0;
  while (bytes.size() - at >= 8) {
    Reader reader(bytes, at);
    uint64_t size = reader.Number(4);
    std::string_view type = reader.Text(4);
    if (size == 1) size = reader.Number(8);
    if (size == 0) size = bytes.size() - at;
    size_t header = reader.at() - at;
    if (!reader.ok() || size < header || size > bytes.size() - at) return;
    if (!visit(Box{type, bytes.substr(at + header, size - header), at + header})) return;
    at += size;
  }
}

struct Meta {
  uint32_t primary = 0;
  bool primary_is_grid = false;
  bool primary_found = false;
  std::string_view idat;
  // The primary item's first extent, once found.
  bool located = false;
  int construction = 0;
  uint64_t offset = 0, length = 0;
};

void Read_item_types(std::string_view body, Meta& meta) {
  Reader reader(body);
  int version = int(reader.Number(1));
  reader.Number(3);
  reader.Number(version == 0 ? 2 : 4);  // the count: the boxes themselves tell
  if (!reader.ok()) return;
  For_each_box(body.substr(reader.at()), [&](const Box& box) {
    if (box.type != "infe") return true;
    Reader entry(box.body);
    int entry_version = int(entry.Number(1));
    entry.Number(3);
    if (entry_version < 2) return true;
    uint32_t id = uint32_t(entry.Number(entry_version == 2 ? 2 : 4));
    entry.Number(2);  // protection index
    std::string_view type = entry.Text(4);
    if (entry.ok() && id == meta.primary) meta.primary_is_grid = type == "grid";
    return true;
  });
}

void Read_locations(std::string_view body, Meta& meta) {
  Reader reader(body);
  int version = int(reader.Number(1));
  reader.Number(3);
  int sizes = int(reader.Number(1));
  int offset_size = sizes >> 4, length_size = sizes & 15;
  sizes = int(reader.Number(1));
  int base_size = sizes >> 4, index_size = version >= 1 ? sizes & 15 : 0;
  uint64_t count = reader.Number(version < 2 ? 2 : 4);
  for (uint64_t i = 0; i < count && reader.ok(); ++i) {
    uint32_t id = uint32_t(reader.Number(version < 2 ? 2 : 4));
    int construction = version >= 1 ? int(reader.Number(2) & 15) : 0;
    reader.Number(2);  // data reference
    uint64_t base = reader.Number(base_size);
    uint64_t extents = reader.Number(2);
    for (uint64_t e = 0; e < extents && reader.ok(); ++e) {
      reader.Number(index_size);
      uint64_t offset = reader.Number(offset_size);
      uint64_t length = reader.Number(length_size);
      if (reader.ok() && id == meta.primary && e == 0) {
        meta.located = true;
        meta.construction = construction;
        meta.offset = base + offset;
        meta.length = length;
      }
    }
  }
}

}  // namespace

HeifGrid Read_heif_grid(std::string_view bytes, PixelSize* size) {
  Meta meta;
  For_each_box(bytes, [&](const Box& top) {
    if (top.type != "meta") return true;
    if (top.body.size() < 4) return false;
    std::string_view children = top.body.substr(4);  // after version and flags
    For_each_box(children, [&](const Box& box) {
      if (box.type == "pitm") {
        Reader reader(box.body);
        int version = int(reader.Number(1));
        reader.Number(3);
        meta.primary = uint32_t(reader.Number(version == 0 ? 2 : 4));
        meta.primary_found = reader.ok();
      } else if (box.type == "idat") {
        meta.idat = box.body;
      }
      return true;
    });
    // Types and places are read once the primary item is known.
    For_each_box(children, [&](const Box& box) {
      if (box.type == "iinf") Read_item_types(box.body, meta);
      if (box.type == "iloc") Read_locations(box.body, meta);
      return true;
    });
    return false;  // the first meta box is the file's
  });
  if (!meta.primary_found || !meta.primary_is_grid) return HeifGrid::kNone;
  if (!meta.located || meta.construction > 1) return HeifGrid::kUnreadable;
  std::string_view source = meta.construction == 1 ? meta.idat : bytes;
  if (meta.offset >= source.size()) return HeifGrid::kUnreadable;
  std::string_view data = source.substr(size_t(meta.offset));
  if (meta.length > 0 && meta.length < data.size()) data = data.substr(0, size_t(meta.length));
  Reader reader(data);
  reader.Number(1);  // version
  int flags = int(reader.Number(1));
  reader.Number(2);  // rows and columns, less one
  int field = (flags & 1) ? 4 : 2;
  uint64_t width = reader.Number(field), height = reader.Number(field);
  if (!reader.ok() || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return HeifGrid::kUnreadable;
  *size = {int(width), int(height)};
  return HeifGrid::kSized;
}

}  // namespace zendrel
