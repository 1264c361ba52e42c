#include "catalog/picture_metadata.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <libheif/heif.h>

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#pragma GCC diagnostic pop
#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <set>
#include <sstream>
#include <vector>

#include "catalog/metadata_text.h"
#include "platform/posix_file.h"

namespace zendrel {
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

// A sidecar larger than this is no sidecar a photo program wrote.
constexpr std::streamoff kMaxSidecarBytes = 4 << 20;
// Marker segments hold at most 64 KiB each; a header beyond this is no
// photograph's.
constexpr size_t kMaxHeaderBytes = 16 << 20;

// Exiv2 reports what it had to pass over through its log; a warning or an
// error there means a block was damaged.
thread_local bool logged_damage = false;
void Note_log(int level, const char*) {
  if (level >= Exiv2::LogMsg::warn) logged_damage = true;
}

// The texts found for one field, first source first; the first that says
// something wins.
class FieldChoice {
 public:
  void Offer(const std::string& utf8) {
    if (!chosen_.empty()) return;
    std::string text = Trimmed(utf8);
    if (!Is_placeholder(text)) chosen_ = text;
  }
  std::string Take() {
    std::string text = std::move(chosen_);
    if (text.size() > kMaxMetadataText) {
      size_t cut = kMaxMetadataText;
      while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
      text.resize(cut);
    }
    return text;
  }
  bool empty() const { return chosen_.empty(); }

 private:
  std::string chosen_;
};

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string out;
  std::set<std::string> seen;
  for (const std::string& word : words) {
    std::string text = Trimmed(word);
    if (text.empty() || !seen.insert(text).second) continue;
    if (!out.empty()) out += separator;
    out += text;
    if (out.size() > kMaxMetadataText) break;
  }
  return out;
}

// --- XMP ----------------------------------------------------------------

// The items of an XMP property: the entries of an array, the default
// language of an alternative, or a simple value.
std::vector<std::string> Xmp_items(const Exiv2::XmpData& xmp, const char* key) {
  std::vector<std::string> items;
  auto found = xmp.findKey(Exiv2::XmpKey(key));
  if (found == xmp.end()) return items;
  const Exiv2::Value& value = found->value();
  if (auto alt = dynamic_cast<const Exiv2::LangAltValue*>(&value)) {
    auto standard = alt->value_.find("x-default");
    if (standard != alt->value_.end() && !Trimmed(standard->second).empty())
      items.push_back(standard->second);
    else
      for (const auto& [language, text] : alt->value_)
        if (!Trimmed(text).empty()) {
          items.push_back(text);
          break;
        }
  } else if (auto array = dynamic_cast<const Exiv2::XmpArrayValue*>(&value)) {
    for (long i = 0; i < array->count(); ++i) items.push_back(array->toString(i));
  } else {
    items.push_back(value.toString());
  }
  return items;
}

std::string Xmp_text(const Exiv2::XmpData& xmp, const char* key, const char* separator = ", ") {
  return Joined(Xmp_items(xmp, key), separator);
}

// Tags that photo programs keep for themselves under their own name
// ("darktable|format|jpg", "digiKam|Color Label|Red") or Lightroom's pick
// flag: no words the user gave the picture.
bool Is_program_tag(const std::string& path, char separator) {
  std::string top = path.substr(0, path.find(separator));
  return top == "darktable" || top == "digiKam" || top == "Pick";
}

// The last level of each hierarchical keyword ("Places|France|Paris").
std::vector<std::string> Last_levels(const std::vector<std::string>& paths, char separator) {
  std::vector<std::string> words;
  for (std::string path : paths) {
    if (Is_program_tag(path, separator)) continue;
    size_t at = path.rfind(separator);
    if (at != std::string::npos) path.erase(0, at + 1);
    words.push_back(path);
  }
  return words;
}

// Flat keywords, where darktable also lists its own tags.
std::vector<std::string> Keywords(const std::vector<std::string>& words) {
  std::vector<std::string> kept;
  for (const std::string& word : words)
    if (!Is_program_tag(word, '|')) kept.push_back(word);
  return kept;
}

// --- IPTC ---------------------------------------------------------------

struct Iptc {
  const Exiv2::IptcData& data;
  bool utf8 = false;  // the envelope declares UTF-8 (ESC % G)

  std::vector<std::string> All(const char* key) const {
    std::vector<std::string> items;
    Exiv2::IptcKey wanted(key);
    for (const Exiv2::Iptcdatum& datum : data) {
      if (datum.tag() != wanted.tag() || datum.record() != wanted.record()) continue;
      std::string bytes = datum.toString();
      items.push_back(utf8 ? bytes : Utf8_from_unlabelled(bytes));
    }
    return items;
  }
  std::string First(const char* key) const {
    std::vector<std::string> items = All(key);
    return items.empty() ? "" : items.front();
  }
  std::string Date() const {
    auto found = data.findKey(Exiv2::IptcKey("Iptc.Application2.DateCreated"));
    if (found == data.end()) return "";
    if (auto date = dynamic_cast<const Exiv2::DateValue*>(&found->value())) {
      const Exiv2::DateValue::Date& d = date->getDate();
      char text[16];
      std::snprintf(text, sizeof text, "%04d%02d%02d", d.year, d.month, d.day);
      return Date_text_from_metadata(text);
    }
    return Date_text_from_metadata(found->value().toString());
  }
};

bool Iptc_declares_utf8(const Exiv2::IptcData& iptc) {
  auto found = iptc.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
  return found != iptc.end() && found->value().toString() == "\x1b%G";
}

// --- EXIF ---------------------------------------------------------------

const Exiv2::Exifdatum* Exif_datum(const Exiv2::ExifData& exif, const char* key) {
  auto found = exif.findKey(Exiv2::ExifKey(key));
  return found == exif.end() ? nullptr : &*found;
}

std::string Exif_bytes(const Exiv2::Exifdatum& datum) {
  std::string bytes(size_t(datum.size()), '\0');
  if (!bytes.empty()) datum.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), Exiv2::littleEndian);
  return bytes;
}

std::string Exif_ascii(const Exiv2::ExifData& exif, const char* key) {
  const Exiv2::Exifdatum* datum = Exif_datum(exif, key);
  return datum ? Utf8_from_unlabelled(Exif_bytes(*datum)) : "";
}

// A Windows XP tag: UTF-16 little-endian bytes.
std::string Exif_xp(const Exiv2::ExifData& exif, const char* key) {
  const Exiv2::Exifdatum* datum = Exif_datum(exif, key);
  return datum ? Utf8_from_utf16(Exif_bytes(*datum)) : "";
}

// The comment's first eight bytes name its character set; UNICODE ones are
// UTF-16 in the block's byte order (Exiv2's own conversion knows UCS-2
// alone and gives up at the first character beyond it).
std::string Exif_user_comment(const Exiv2::ExifData& exif, Exiv2::ByteOrder order) {
  const Exiv2::Exifdatum* datum = Exif_datum(exif, "Exif.Photo.UserComment");
  if (!datum) return "";
  auto comment = dynamic_cast<const Exiv2::CommentValue*>(&datum->value());
  if (!comment || comment->value_.size() < 8) return "";
  std::string text = comment->value_.substr(8);
  if (comment->charsetId() == Exiv2::CommentValue::unicode)
    return Utf8_from_utf16(text, order == Exiv2::bigEndian);
  return Utf8_from_unlabelled(text);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// --- Choosing -----------------------------------------------------------

// Keywords keep their boundaries: the page's word search splits at ", ".
constexpr const char* kKeywordSeparator = ", ";

// The fields as the Metadata Working Group's guidelines read them, which
// digiKam, Lightroom and darktable follow: the XMP of a sidecar first (the
// user's latest word), then the blocks in the picture. EXIF ImageDescription
// and IPTC Caption-Abstract are captions, never titles.
PictureMetadata Choose(const Exiv2::ExifData& exif, Exiv2::ByteOrder exif_order, const Iptc& iptc,
                       const Exiv2::XmpData& sidecar, const Exiv2::XmpData& embedded,
                       const std::string& jpeg_comment) {
  FieldChoice title, subject, category, comment, author, date;
  auto offer_xmp = [&](const Exiv2::XmpData& xmp) {
    title.Offer(Xmp_text(xmp, "Xmp.dc.title"));
    subject.Offer(Joined(Keywords(Xmp_items(xmp, "Xmp.dc.subject")), kKeywordSeparator));
    subject.Offer(
        Joined(Last_levels(Xmp_items(xmp, "Xmp.lr.hierarchicalSubject"), '|'), kKeywordSeparator));
    subject.Offer(
        Joined(Last_levels(Xmp_items(xmp, "Xmp.digiKam.TagsList"), '/'), kKeywordSeparator));
    category.Offer(Xmp_text(xmp, "Xmp.photoshop.Category"));
    comment.Offer(Xmp_text(xmp, "Xmp.dc.description"));
    author.Offer(Xmp_text(xmp, "Xmp.dc.creator"));
  };
  auto offer_xmp_date = [&](const Exiv2::XmpData& xmp) {
    date.Offer(Date_text_from_metadata(Xmp_text(xmp, "Xmp.photoshop.DateCreated")));
    date.Offer(Date_text_from_metadata(Xmp_text(xmp, "Xmp.exif.DateTimeOriginal")));
  };
  offer_xmp(sidecar);
  offer_xmp(embedded);
  title.Offer(iptc.First("Iptc.Application2.ObjectName"));
  title.Offer(iptc.First("Iptc.Application2.Headline"));
  title.Offer(Exif_xp(exif, "Exif.Image.XPTitle"));
  subject.Offer(Joined(iptc.All("Iptc.Application2.Keywords"), kKeywordSeparator));
  subject.Offer(Joined(Split(Exif_xp(exif, "Exif.Image.XPKeywords"), ';'), kKeywordSeparator));
  category.Offer(iptc.First("Iptc.Application2.Category"));
  comment.Offer(iptc.First("Iptc.Application2.Caption"));
  comment.Offer(Exif_ascii(exif, "Exif.Image.ImageDescription"));
  comment.Offer(Exif_user_comment(exif, exif_order));
  comment.Offer(Exif_xp(exif, "Exif.Image.XPComment"));
  comment.Offer(Exif_xp(exif, "Exif.Image.XPSubject"));
  comment.Offer(Utf8_from_unlabelled(jpeg_comment));
  author.Offer(Joined(iptc.All("Iptc.Application2.Byline"), ", "));
  author.Offer(Exif_ascii(exif, "Exif.Image.Artist"));
  author.Offer(Exif_xp(exif, "Exif.Image.XPAuthor"));

  // A date fixed in a sidecar wins over the camera's; a date that cannot
  // be (2019:02:30) is passed over for the next source.
  offer_xmp_date(sidecar);
  date.Offer(Date_text_from_metadata(Xmp_text(sidecar, "Xmp.xmp.CreateDate")));
  date.Offer(Date_text_from_metadata(Exif_ascii(exif, "Exif.Photo.DateTimeOriginal")));
  offer_xmp_date(embedded);
  date.Offer(iptc.Date());
  date.Offer(Date_text_from_metadata(Exif_ascii(exif, "Exif.Photo.DateTimeDigitized")));
  date.Offer(Date_text_from_metadata(Xmp_text(embedded, "Xmp.xmp.CreateDate")));

  PictureMetadata metadata;
  metadata.title = title.Take();
  metadata.subject = subject.Take();
  metadata.category = category.Take();
  metadata.comment = comment.Take();
  metadata.author = author.Take();
  metadata.date = date.Take();
  return metadata;
}

bool Starts_as_jpeg(std::string_view bytes) {
  return bytes.size() >= 3 && bytes.substr(0, 3) == "\xFF\xD8\xFF";
}

void Prepare_library() {
  static bool prepared = [] {
    Exiv2::LogMsg::setHandler(Note_log);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
    Exiv2::XmpParser::initialize();
    return true;
  }();
  (void)prepared;
}

// The JPEG's marker segments before its image data, as a JPEG of their
// own; `keep` decides for each segment (marker byte and payload).
template <typename Keep>
std::string Header_segments(std::string_view jpeg, Keep keep) {
  std::string out = "\xFF\xD8";
  size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    unsigned char marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) break;
    size_t length = size_t(static_cast<unsigned char>(jpeg[at + 2])) << 8 |
                    static_cast<unsigned char>(jpeg[at + 3]);
    if (length < 2 || at + 2 + length > jpeg.size()) break;
    if (keep(marker, jpeg.substr(at + 4, length - 2))) out.append(jpeg.substr(at, 2 + length));
    at += 2 + length;
  }
  return out + "\xFF\xD9";
}

bool Is_exif_segment(unsigned char marker, std::string_view payload) {
  return marker == 0xE1 && payload.substr(0, 6) == std::string_view("Exif\0\0", 6);
}

// Reads what the header and the sidecar hold. A block that makes Exiv2 give
// up takes the blocks after it along, so the header is read again without
// the EXIF block, then also without the IPTC one.
PictureMetadata Read(const std::string& header, const std::string& sidecar) {
  Prepare_library();
  logged_damage = false;
  bool damaged = false;
  Exiv2::XmpData sidecar_xmp;
  if (!sidecar.empty()) {
    try {
      if (Exiv2::XmpParser::decode(sidecar_xmp, sidecar) != 0) damaged = true;
    } catch (const std::exception&) {
      damaged = true;
    }
  }
  std::string bytes = header;
  PictureMetadata metadata;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt == 1)
      bytes = Header_segments(
          header, [](unsigned char m, std::string_view p) { return !Is_exif_segment(m, p); });
    if (attempt == 2)
      bytes = Header_segments(bytes, [](unsigned char m, std::string_view) { return m != 0xED; });
    Exiv2::JpegImage image(
        Exiv2::BasicIo::AutoPtr(new Exiv2::MemIo(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                                                 long(bytes.size()))),
        false);
    bool whole = true;
    try {
      image.readMetadata();
    } catch (const std::exception&) {
      damaged = true;
      whole = false;
    }
    if (!whole && attempt < 2) continue;
    try {
      Iptc iptc{image.iptcData(), Iptc_declares_utf8(image.iptcData())};
      metadata = Choose(image.exifData(), image.byteOrder(), iptc, sidecar_xmp, image.xmpData(),
                        image.comment());
    } catch (const std::exception&) {
      damaged = true;
    }
    break;
  }
  metadata.damaged = damaged || logged_damage;
  return metadata;
}

// Exiv2's BMFF reader finds nothing in many HEIF files, those of heif-enc
// among them; libheif reads the container's Exif and XMP items, and Exiv2
// decodes them as it would a JPEG's.
void Read_heif_items(const std::string& native_path, Exiv2::ExifData* exif, Exiv2::ByteOrder* order,
                     Exiv2::XmpData* xmp, bool* damaged) {
  constexpr size_t kMaxItemBytes = 16 << 20;
  heif_context* context = heif_context_alloc();
  heif_image_handle* handle = nullptr;
  if (!context || heif_context_read_from_file(context, native_path.c_str(), nullptr).code ||
      heif_context_get_primary_image_handle(context, &handle).code) {
    if (context) heif_context_free(context);
    return;  // the picture's reader tells why
  }
  heif_item_id ids[16];
  int count = heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids, 16);
  for (int i = 0; i < count; ++i) {
    const char* item_type = heif_image_handle_get_metadata_type(handle, ids[i]);
    std::string type = item_type ? item_type : "";
    const char* content = heif_image_handle_get_metadata_content_type(handle, ids[i]);
    bool is_xmp = type == "mime" && content && std::string(content) == "application/rdf+xml";
    if (type != "Exif" && !is_xmp) continue;
    size_t size = heif_image_handle_get_metadata_size(handle, ids[i]);
    if (size == 0 || size > kMaxItemBytes) continue;
    std::string bytes(size, '\0');
    if (heif_image_handle_get_metadata(handle, ids[i], bytes.data()).code) continue;
    if (is_xmp && xmp->empty()) {
      if (Exiv2::XmpParser::decode(*xmp, bytes) != 0) *damaged = true;
    } else if (type == "Exif" && exif->empty() && size > 4) {
      // The item opens with the offset of the TIFF header after its first four bytes.
      size_t skip = size_t(uint8_t(bytes[0])) << 24 | size_t(uint8_t(bytes[1])) << 16 |
                    size_t(uint8_t(bytes[2])) << 8 | size_t(uint8_t(bytes[3]));
      if (skip > size - 4) {
        *damaged = true;
        continue;
      }
      *order = Exiv2::ExifParser::decode(
          *exif, reinterpret_cast<const Exiv2::byte*>(bytes.data()) + 4 + skip, size - 4 - skip);
    }
  }
  heif_image_handle_release(handle);
  heif_context_free(context);
}

// PNG, WebP, TIFF and HEIF (through Exiv2's BMFF reader): the whole file
// through Exiv2's reader of its format, the fields chosen as for a JPEG.
// Files of no format Exiv2 knows have no metadata, and no damage.
PictureMetadata Read_other_format(const std::string& native_path, const std::string& sidecar) {
  Prepare_library();
  Exiv2::enableBMFF(true);
  logged_damage = false;
  PictureMetadata metadata;
  bool damaged = false;
  {
    // Exiv2 opens by name: only a plain file is handed to it, never a pipe.
    FileDescriptor fd;
    if (!Open_regular_file(native_path, native_path, &fd).ok()) return {};
  }
  int type = 0;
  try {
    type = Exiv2::ImageFactory::getType(native_path);
    if (type != Exiv2::ImageType::png && type != Exiv2::ImageType::webp &&
        type != Exiv2::ImageType::tiff && type != Exiv2::ImageType::bmff)
      return {};
  } catch (const std::exception&) {
    return {};  // missing or unreadable: the picture itself tells why
  }
  try {
    Exiv2::XmpData sidecar_xmp;
    if (!sidecar.empty() && Exiv2::XmpParser::decode(sidecar_xmp, sidecar) != 0) damaged = true;
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(native_path);
    image->readMetadata();
    Iptc iptc{image->iptcData(), Iptc_declares_utf8(image->iptcData())};
    Exiv2::ExifData exif = image->exifData();
    Exiv2::ByteOrder order = image->byteOrder();
    Exiv2::XmpData xmp = image->xmpData();
    if (type == Exiv2::ImageType::bmff && (exif.empty() || xmp.empty()))
      Read_heif_items(native_path, &exif, &order, &xmp, &damaged);
    metadata = Choose(exif, order, iptc, sidecar_xmp, xmp, "");
  } catch (const std::exception&) {
    damaged = true;
  }
  metadata.damaged = damaged || logged_damage;
  return metadata;
}

// The bytes of the file up to its image data: the metadata lies there.
std::string Read_header(const std::string& native_path) {
  // Opened without waiting, and only a plain file: a pipe would hang here.
  FileDescriptor fd;
  if (!Open_regular_file(native_path, native_path, &fd).ok()) return "";
  std::string bytes(2, '\0');
  if (Read_full(fd.get(), bytes.data(), 2) != 2 || bytes != "\xFF\xD8") return "";
  char head[4];
  // One marker segment per step: its marker and length, then its payload.
  while (Read_full(fd.get(), head, 4) == 4) {
    bytes.append(head, 4);
    unsigned char marker = head[1];
    if (static_cast<unsigned char>(head[0]) != 0xFF || marker == 0xDA || marker == 0xD9) break;
    size_t length =
        size_t(static_cast<unsigned char>(head[2])) << 8 | static_cast<unsigned char>(head[3]);
    if (length < 2 || bytes.size() + length > kMaxHeaderBytes) break;
    size_t had = bytes.size();
    bytes.resize(had + length - 2);
    ssize_t got = Read_full(fd.get(), bytes.data() + had, length - 2);
    if (got != ssize_t(length - 2)) {
      bytes.resize(had + size_t(got < 0 ? 0 : got));
      break;
    }
  }
  return bytes.size() > 2 ? bytes : "";  // a start marker alone is no picture
}

// `refused`: a sidecar's name is there, but not as a plain file.
std::string Sidecar_text(const std::string& native_path, bool* refused) {
  std::string stem = native_path;
  size_t dot = stem.rfind('.');
  size_t slash = stem.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem.erase(dot);
  // The picture's full name first (darktable's "NAME.jpg.xmp"), then its
  // stem (digiKam's, Lightroom's "NAME.xmp"), in the letter cases that
  // programs and cameras write.
  for (const std::string& base : {native_path, stem})
    for (const char* extension : {".xmp", ".XMP", ".Xmp"}) {
      std::string candidate = base + extension;
      // A sidecar is read only when it is a plain file: a pipe or a device
      // under a sidecar's name is skipped, never waited for, and the picture
      // is counted among those whose metadata could not all be read.
      FileDescriptor fd;
      if (!Open_regular_file(candidate, candidate, &fd).ok()) {
        if (errno == ENODEV || errno == EISDIR) *refused = true;
        continue;
      }
      struct stat info;
      if (::fstat(fd.get(), &info) != 0 || info.st_size <= 0 || info.st_size > kMaxSidecarBytes)
        continue;
      std::string text(size_t(info.st_size), '\0');
      if (Read_full(fd.get(), text.data(), text.size()) == ssize_t(text.size())) return text;
    }
  return "";
}

#pragma GCC diagnostic pop

}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

PictureMetadata Read_picture_metadata(const std::string& native_path) {
  std::string header = Read_header(native_path);
  bool refused = false;
  std::string sidecar = Sidecar_text(native_path, &refused);
  PictureMetadata metadata =
      header.empty() ? Read_other_format(native_path, sidecar) : Read(header, sidecar);
  if (refused) metadata.damaged = true;
  return metadata;
}

PictureMetadata Read_picture_metadata_bytes(const std::string& jpeg, const std::string& sidecar) {
  if (!Starts_as_jpeg(jpeg)) return {};
  return Read(jpeg, sidecar);
}

#pragma GCC diagnostic pop

}  // namespace zendrel
