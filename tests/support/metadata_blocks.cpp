#include "support/metadata_blocks.h"

#include <cstdint>

namespace zendrel::testing {
namespace {

void Put16(std::string& out, uint16_t v) {  // little-endian, as the TIFF header says
  out += char(v & 0xFF);
  out += char(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, uint16_t(v & 0xFFFF));
  Put16(out, uint16_t(v >> 16));
}

std::string Segment(unsigned char marker, const std::string& payload) {
  std::string out = "\xFF";
  out += char(marker);
  size_t length = payload.size() + 2;
  out += char(length >> 8);
  out += char(length & 0xFF);
  return out + payload;
}

struct Entry {
  uint16_t tag, type;
  std::string bytes;  // the value, as stored
  uint32_t count;     // in units of the type
};

// One IFD at `at` (from the TIFF header), its values after it; `next` is
// the following IFD's offset (0: none).
std::string Ifd(const std::vector<Entry>& entries, uint32_t at, uint32_t next = 0) {
  std::string table, data;
  Put16(table, uint16_t(entries.size()));
  uint32_t data_at = at + 2 + 12 * uint32_t(entries.size()) + 4;
  for (const Entry& e : entries) {
    Put16(table, e.tag);
    Put16(table, e.type);
    Put32(table, e.count);
    if (e.bytes.size() <= 4) {
      table += e.bytes + std::string(4 - e.bytes.size(), '\0');
    } else {
      Put32(table, data_at + uint32_t(data.size()));
      data += e.bytes;
      if (data.size() % 2) data += '\0';
    }
  }
  Put32(table, next);
  return table + data;
}

Entry Ascii(uint16_t tag, const std::string& text) {
  return {tag, 2, text + '\0', uint32_t(text.size() + 1)};
}

std::string Utf16le(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out + std::string(2, '\0');
}

std::string Xml_escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '&')
      out += "&amp;";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string Exif_segment(const MetadataBlocks& b) {
  std::string keywords;
  for (const std::string& k : b.keywords) keywords += (keywords.empty() ? "" : ";") + k;
  std::string xp = Utf16le(keywords);
  std::string comment = std::string("ASCII\0\0\0", 8) + b.comment;
  // IFD0 at 8, the EXIF IFD after it.
  std::vector<Entry> ifd0 = {Ascii(0x010E, b.title),
                             Ascii(0x013B, b.author),
                             {0x8769, 4, std::string(4, '\0'), 1},
                             {0x9C9E, 1, xp, uint32_t(xp.size())}};
  uint32_t exif_at = 8 + uint32_t(Ifd(ifd0, 8).size());
  ifd0[2].bytes.clear();
  Put32(ifd0[2].bytes, exif_at);
  std::vector<Entry> exif = {Ascii(0x9003, b.date), {0x9286, 7, comment, uint32_t(comment.size())}};
  std::string tiff("II*\0", 4);
  tiff += std::string("\x08\0\0\0", 4);
  tiff += Ifd(ifd0, 8) + Ifd(exif, exif_at);
  return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

std::string Iptc_segment(const MetadataBlocks& b) {
  std::string record;
  auto dataset = [&](int number, int tag, const std::string& value) {
    record += '\x1C';
    record += char(number);
    record += char(tag);
    record += char(value.size() >> 8);
    record += char(value.size() & 0xFF);
    record += value;
  };
  dataset(1, 90, "\x1B%G");  // UTF-8
  dataset(2, 0, std::string("\0\4", 2));
  dataset(2, 5, b.title);
  for (const std::string& k : b.keywords) dataset(2, 25, k);
  std::string date = b.date.substr(0, 4) + b.date.substr(5, 2) + b.date.substr(8, 2);
  dataset(2, 55, date);
  dataset(2, 80, b.author);
  dataset(2, 120, b.comment);
  std::string resource = "8BIM";
  resource += "\x04\x04";
  resource += std::string(2, '\0');  // empty name, padded
  resource += char(record.size() >> 24);
  resource += char((record.size() >> 16) & 0xFF);
  resource += char((record.size() >> 8) & 0xFF);
  resource += char(record.size() & 0xFF);
  resource += record;
  if (resource.size() % 2) resource += '\0';
  return Segment(0xED, std::string("Photoshop 3.0\0", 14) + resource);
}

std::string Xmp_segment(const MetadataBlocks& b) {
  std::string subjects;
  for (const std::string& k : b.keywords) subjects += "<rdf:li>" + Xml_escaped(k) + "</rdf:li>";
  std::string iso = b.date.substr(0, 4) + "-" + b.date.substr(5, 2) + "-" + b.date.substr(8, 2);
  std::string packet =
      "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
      "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
      "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
      "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
      "xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/'>"
      "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>" +
      Xml_escaped(b.title) +
      "</rdf:li></rdf:Alt></dc:title>"
      "<dc:subject><rdf:Bag>" +
      subjects +
      "</rdf:Bag></dc:subject>"
      "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>" +
      Xml_escaped(b.comment) +
      "</rdf:li></rdf:Alt></dc:description>"
      "<dc:creator><rdf:Seq><rdf:li>" +
      Xml_escaped(b.author) +
      "</rdf:li></rdf:Seq></dc:creator>"
      "<photoshop:DateCreated>" +
      iso +
      "</photoshop:DateCreated>"
      "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
  return Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

std::string With_metadata_blocks(const std::string& jpeg, const MetadataBlocks& blocks) {
  if (jpeg.size() < 2) return jpeg;
  return jpeg.substr(0, 2) + Exif_segment(blocks) + Iptc_segment(blocks) + Xmp_segment(blocks) +
         jpeg.substr(2);
}

}  // namespace zendrel::testing
