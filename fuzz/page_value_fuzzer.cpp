// Fuzz target: any bytes as one value of a picture record, written through
// the value writer into a complete page; or, with the first byte's high bit,
// as the text of an EXIF, IPTC or XMP field on its way into a record, which
// must arrive as text: no markup, no escape, read by the script exactly. The page must read back
// with that value in its own field (the page reader here, V8 through Node in page_script_check.mjs)
// and its script must end where the page ends it. Node runs once, beside the fuzzer, and judges
// page after page over pipes.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/metadata_text.h"
#include "fuzz_sink.h"
#include "page/page_head.h"
#include "page/page_records.h"
#include "page/page_tail.h"
#include "page/record_line.h"
#include "page/script_value.h"

namespace {

[[noreturn]] void Fail(const std::string& why, const std::string& value) {
  std::fprintf(stderr, "page value fuzzer: %s\nvalue (%zu bytes):", why.c_str(), value.size());
  for (unsigned char c : value) std::fprintf(stderr, " %02x", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
    if (i + 1 < bytes.size()) n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) n |= uint8_t(bytes[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kAlphabet[n & 63] : '=';
  }
  return out;
}

// The Node judge, started on first use.
class Judge {
 public:
  Judge() {
    const char* script = std::getenv("ZENDREL_PAGE_CHECK");
    if (!script) script = ZENDREL_PAGE_CHECK;
    int to_node[2], from_node[2];
    if (::pipe(to_node) != 0 || ::pipe(from_node) != 0) Fail("no pipe for node", "");
    pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(to_node[0], 0);
      ::dup2(from_node[1], 1);
      ::close(to_node[1]);
      ::close(from_node[0]);
      ::execlp("node", "node", script, static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    pid_ = pid;
    ::close(to_node[0]);
    ::close(from_node[1]);
    ::signal(SIGPIPE, SIG_IGN);
    to_ = to_node[1];
    from_ = from_node[0];
  }

  // Empty when the page passes; the judge's reason otherwise. Plain reads
  // and writes that go on after a signal: libFuzzer's timer interrupts them.
  std::string Ask(int field, const std::string& page, const std::string* expected) {
    std::string request = std::to_string(field) + " " + Base64(page) + " " +
                          (expected ? Base64(*expected) : std::string("-")) + "\n";
    for (size_t sent = 0; sent < request.size();) {
      ssize_t n = ::write(to_, request.data() + sent, request.size() - sent);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Ended();
      sent += size_t(n);
    }
    std::string answer;
    for (char c;;) {
      ssize_t n = ::read(from_, &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Ended();
      if (c == '\n') break;
      answer += c;
    }
    return answer == "ok" ? std::string() : answer;
  }

 private:
  std::string Ended() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return "node ended (status " + std::to_string(status) + "; is node on the PATH?)";
  }

  pid_t pid_ = 0;
  int to_ = -1;
  int from_ = -1;
};

std::string Page_text(const zendrel::ArchiveRecord& record) {
  std::string page;
  auto add = [&](const std::string& line) { page += line + "\r\n"; };
  for (const std::string& line : zendrel::Page_head_lines()) add(line);
  for (const std::string& line : zendrel::Record_lines(record)) add(line);
  for (const std::string& line : zendrel::Page_tail_lines()) add(line);
  return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Judge judge;
  if (size == 0) return 0;
  // The first byte picks the field (not the thumbnail name, which a record
  // must have); the rest is the value.
  int field = 1 + data[0] % 9;
  std::string value = zendrel::fuzz::Bytes(data + 1, size - 1);
  bool metadata = data[0] & 0x80;
  if (metadata) {
    // Title, subject, category, comment or author, from a field that names
    // no character set or from a UTF-16 one (the Windows XP tags).
    field = 4 + data[0] % 5;
    std::string utf8 =
        data[0] & 0x40 ? zendrel::Utf8_from_utf16(value) : zendrel::Utf8_from_unlabelled(value);
    value = zendrel::System_text_from_metadata(utf8);
    if (value.find_first_of("<>\\") != std::string::npos)
      Fail("metadata text keeps markup or a backslash", value);
  }
  // The ten values in record-line order (thumb, file, path, ... picdate).
  std::vector<std::string> values(10);
  for (int k = 0; k < 10; ++k) values[size_t(k)] = "v" + std::to_string(k);
  values[size_t(field)] = value;
  std::string stored = zendrel::Safe_script_value(value);
  if (zendrel::Safe_script_value(stored) != stored) Fail("writing twice changes the value", value);

  std::string page = Page_text(zendrel::Archive_record(values));
  int records = 0;
  zendrel::Status read = zendrel::For_each_page_record(
      page, "archive.htm", [&](int, const std::vector<std::string>& found) {
        ++records;
        for (int k = 0; k < 10; ++k) {
          const std::string& want = k == field ? stored : values[size_t(k)];
          if (found.size() != 10 || found[size_t(k)] != want)
            Fail("the page reader finds another value in field " + std::to_string(k), value);
        }
        return zendrel::Status();
      });
  if (!read.ok() || records != 1) Fail("the page reader: " + read.message(), value);

  // Without backslashes nothing is an escape the user meant: the script
  // must read exactly the value, less its NUL bytes.
  std::string expected;
  bool plain = value.find('\\') == std::string::npos;
  if (plain)
    for (char c : value)
      if (c != '\0') expected += c;
  std::string verdict = judge.Ask(field, page, plain ? &expected : nullptr);
  if (!verdict.empty()) Fail(verdict, value);
  return 0;
}
