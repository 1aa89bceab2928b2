#include "archive/folder_decoder.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "archive/archive_error.h"
#include "archive/branch_filters.h"
#include "archive/deflate_decoder.h"
#include "archive/lzma_decoder.h"

namespace korvane::archive {
namespace {

class PackedStream : public ByteSource {
 public:
  PackedStream(ArchiveFile& file, uint64_t offset, uint64_t size) : file_(file), position_(offset), remaining_(size) {}
  size_t Read(uint8_t* buffer, size_t size) override {
    size_t want = static_cast<size_t>(std::min<uint64_t>(size, remaining_));
    if (want == 0) return 0;
    size_t got = file_.ReadAt(position_, buffer, want);
    if (got == 0) ThrowDataError("the archive file is cut short");
    position_ += got;
    remaining_ -= got;
    return got;
  }

 private:
  ArchiveFile& file_;
  uint64_t position_;
  uint64_t remaining_;
};

// Gives exactly the declared number of bytes of a coder's output.
class ExactSize : public ByteSource {
 public:
  ExactSize(ByteSource& source, uint64_t size) : source_(source), remaining_(size) {}
  size_t Read(uint8_t* buffer, size_t size) override {
    size_t want = static_cast<size_t>(std::min<uint64_t>(size, remaining_));
    if (want == 0) return 0;
    size_t got = source_.Read(buffer, want);
    if (got == 0) ThrowDataError("coded data ends before its declared size");
    remaining_ -= got;
    return got;
  }

 private:
  ByteSource& source_;
  uint64_t remaining_;
};

}  // namespace

size_t ArchiveFile::ReadAt(uint64_t position, uint8_t* buffer, size_t size) {
  if (position >= size_) return 0;
  size = static_cast<size_t>(std::min<uint64_t>(size, size_ - position));
  if (position != position_) {
    if (!file_.Seek(position)) throw ArchiveError(vok::kDataError, "the archive file cannot be read");
    position_ = position;
  }
  size_t got = file_.Read(buffer, size);
  position_ += got;
  if (got < size) position_ = UINT64_MAX;
  return got;
}

std::string MethodName(uint64_t id) {
  switch (id) {
    case method::kCopy: return "Copy";
    case method::kLzma: return "LZMA";
    case method::kLzma2: return "LZMA2";
    case method::kBcjX86: return "BCJ";
    case method::kBcj2: return "BCJ2";
    case method::kDeflate: return "Deflate";
    case method::kBzip2: return "BZip2";
    case method::kAes: return "7zAES";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "method %llX", static_cast<unsigned long long>(id));
      return text;
    }
  }
}

FolderDecoder::FolderDecoder(ArchiveFile& file, const Database& db, uint32_t folder_index, PasswordSource& password)
    : file_(file), db_(db), folder_(db.folders.at(folder_index)), password_(password) {
  output_ = &BuildOutput(folder_.MainOutput(), 0);
}

ByteSource& FolderDecoder::BuildOutput(uint32_t output_index, int depth) {
  if (depth > 64) ThrowDataError("a block of the archive wires its coders in a loop");
  // Find the coder owning this output and the number of its first input.
  uint32_t coder_index = 0, first_input = 0, first_output = 0;
  for (; coder_index < folder_.coders.size(); ++coder_index) {
    const Coder& coder = folder_.coders[coder_index];
    if (output_index < first_output + coder.output_count) break;
    first_input += coder.input_count;
    first_output += coder.output_count;
  }
  if (coder_index == folder_.coders.size()) ThrowDataError("a block of the archive has a bad stream number");
  const Coder& coder = folder_.coders[coder_index];

  std::vector<ByteSource*> inputs;
  for (uint32_t k = 0; k < coder.input_count; ++k) {
    uint32_t input_index = first_input + k;
    auto pair = std::find_if(folder_.bind_pairs.begin(), folder_.bind_pairs.end(),
                             [&](const BindPair& p) { return p.input_index == input_index; });
    if (pair != folder_.bind_pairs.end()) {
      inputs.push_back(&BuildOutput(pair->output_index, depth + 1));
      continue;
    }
    auto packed = std::find(folder_.packed_inputs.begin(), folder_.packed_inputs.end(), input_index);
    if (packed == folder_.packed_inputs.end()) ThrowDataError("a block of the archive leaves a coder input unfed");
    size_t stream = folder_.first_packed_stream + static_cast<size_t>(packed - folder_.packed_inputs.begin());
    if (stream >= db_.packed_sizes.size()) ThrowDataError("a block of the archive uses a missing packed stream");
    nodes_.push_back(std::make_unique<PackedStream>(file_, db_.packed_offsets[stream], db_.packed_sizes[stream]));
    inputs.push_back(nodes_.back().get());
  }

  uint64_t size = folder_.output_sizes.at(output_index);
  auto expect_inputs = [&](uint32_t n) {
    if (inputs.size() != n) ThrowDataError(MethodName(coder.method) + " coder has the wrong number of inputs");
  };
  std::unique_ptr<ByteSource> decoder;
  switch (coder.method) {
    case method::kCopy:
      expect_inputs(1);
      break;
    case method::kLzma:
      expect_inputs(1);
      decoder = MakeLzmaDecoder(*inputs[0], coder.properties, size);
      break;
    case method::kLzma2:
      expect_inputs(1);
      decoder = MakeLzma2Decoder(*inputs[0], coder.properties, size);
      break;
    case method::kBcjX86:
      expect_inputs(1);
      if (!coder.properties.empty())
        throw ArchiveError(vok::kUnsupportedOrWrongPassword, "BCJ with a start offset is not supported");
      decoder = MakeBcjX86Decoder(*inputs[0]);
      break;
    case method::kBcj2:
      expect_inputs(4);
      decoder = MakeBcj2Decoder(*inputs[0], *inputs[1], *inputs[2], *inputs[3], size);
      break;
    case method::kDeflate:
      expect_inputs(1);
      decoder = MakeDeflateDecoder(*inputs[0]);
      break;
    case method::kAes:
      expect_inputs(1);
      decoder = MakeAesDecoder(*inputs[0], coder.properties, password_, size);
      break;
    default:
      throw ArchiveError(vok::kUnsupportedOrWrongPassword,
                         "the archive uses the unsupported compression method " + MethodName(coder.method));
  }
  ByteSource* produced = inputs[0];
  if (decoder) {
    nodes_.push_back(std::move(decoder));
    produced = nodes_.back().get();
  }
  nodes_.push_back(std::make_unique<ExactSize>(*produced, size));
  return *nodes_.back();
}

}  // namespace korvane::archive
