#include "catalog/metadata_child.h"

#include <cstdint>
#include <cstring>

#include "catalog/sized_text.h"

namespace zendrel {
namespace {

constexpr char kPath = 'P';
constexpr char kMetadataMessage = 'M';

// One picture's answer: the six texts and the damage flag.
std::string Body(const PictureMetadata& m) {
  std::string body;
  for (const std::string* field :
       {&m.title, &m.subject, &m.category, &m.comment, &m.author, &m.date})
    Put_sized_text(body, *field);
  body += m.damaged ? '1' : '0';
  return body;
}

bool Parse(const std::string& body, PictureMetadata* m) {
  size_t at = 0;
  for (std::string* field :
       {&m->title, &m->subject, &m->category, &m->comment, &m->author, &m->date})
    if (!Take_sized_text(body, at, field)) return false;
  if (body.size() != at + 1) return false;
  m->damaged = body[at] == '1';
  return true;
}

int Metadata_role(int channel, const std::vector<std::string>&) {
  return Serve_metadata(channel, Read_picture_metadata);
}

const bool kMetadataRoleRegistered = Register_child_role(kMetadataRole, Metadata_role);

}  // namespace

int Serve_metadata(int channel, PictureMetadata (*reader)(const std::string& native_path)) {
  (void)kMetadataRoleRegistered;
  ChildMessage request;
  while (Receive_from_parent(channel, &request)) {
    PictureMetadata metadata;
    if (!request.payload.empty()) metadata = reader(request.payload);
    if (!Send_to_parent(channel, kMetadataMessage, Body(metadata))) return 0;  // the run has ended
  }
  return 0;
}

MetadataChild::MetadataChild(std::vector<std::string> native_paths, Options options)
    : paths_(std::move(native_paths)), options_(std::move(options)) {
  Start(0);
}

void MetadataChild::Start(size_t first) {
  if (first >= paths_.size()) return;
  ChildProcess::Limits limits;
  limits.silence_ms = options_.silence_limit_ms;
  if (!child_.Start(options_.role, {}, limits).ok()) return;
  for (size_t i = first; i < paths_.size(); ++i) child_.Send(kPath, paths_[i]);
}

PictureMetadata MetadataChild::Next() {
  size_t index = next_++;
  if (index >= paths_.size() || stopped_) return {};
  ChildMessage message;
  ChildProcess::Result result =
      child_.running() ? child_.Receive(&message, options_.stop) : ChildProcess::Result::kEnded;
  PictureMetadata metadata;
  if (result == ChildProcess::Result::kMessage && message.kind == kMetadataMessage &&
      Parse(message.payload, &metadata))
    return metadata;
  if (result == ChildProcess::Result::kStopped) {
    stopped_ = true;
    return {};
  }
  // The child died, got stuck or broke its answer over this picture: the
  // pictures after it go to a new child.
  child_.Kill();
  Start(index + 1);
  metadata = PictureMetadata();
  metadata.damaged = true;
  return metadata;
}

}  // namespace zendrel
