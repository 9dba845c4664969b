#include "swf_reader.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "host_text.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zarvane {

namespace {

constexpr unsigned kTagEnd = 0;
constexpr unsigned kTagSetBackgroundColor = 9;
constexpr unsigned kTagDefineSprite = 39;
// Sprites inside sprites do not occur in real movies; deeper ones are skipped like any other tag
// so that a hostile file cannot exhaust the stack.
constexpr int kMaxSpriteDepth = 32;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const char* SwfErrorText(SwfError error) {
  switch (error) {
    case SwfError::kNone: return "no error";
    case SwfError::kCannotOpen: return "the movie cannot be opened";
    case SwfError::kNotUncompressedSwf: return "not an uncompressed Shockwave Flash movie (FWS)";
    case SwfError::kDeclaredTooShort: return "the declared movie length is 20 bytes or less";
    case SwfError::kShorterThanDeclared: return "the file is shorter than its declared length";
    case SwfError::kOutOfMemory: return "not enough memory for the movie";
    case SwfError::kRunsPastEnd: return "a tag runs past the declared end of the movie";
  }
  return "unknown error";
}

void SwfReader::Reset() {
  data_.reset();
  length_ = 0;
  version_ = 0;
  position_ = 0;
  bitBuffer_ = 0;
  bitCount_ = 0;
  colour_ = 0;
  hasColour_ = false;
  frameWidth_ = frameHeight_ = 0;
  error_ = SwfError::kNone;
}

bool SwfReader::Fail(SwfError error) {
  error_ = error;
  hasColour_ = false;
  colour_ = 0;
  return false;
}

bool SwfReader::CheckHeader(const unsigned char* header, std::uint64_t available) {
  if (std::memcmp(header, "FWS", 3) != 0) return Fail(SwfError::kNotUncompressedSwf);
  version_ = header[3];
  length_ = std::uint32_t(header[4]) | std::uint32_t(header[5]) << 8 |
            std::uint32_t(header[6]) << 16 | std::uint32_t(header[7]) << 24;
  if (length_ <= 20) return Fail(SwfError::kDeclaredTooShort);
  // Known before allocating: a tiny file that claims 4 GiB costs nothing.
  if (available < length_) return Fail(SwfError::kShorterThanDeclared);
  data_.reset(new (std::nothrow) unsigned char[length_]);
  if (!data_) return Fail(SwfError::kOutOfMemory);
  std::memcpy(data_.get(), header, 8);
  return true;
}

bool SwfReader::ReadMovie(const std::string& path) {
  Reset();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(HostPath(path).c_str(), "rb"));
  if (!file) return Fail(SwfError::kCannotOpen);
  std::uint64_t size = UINT64_MAX;
#ifndef _WIN32
  struct stat st;
  if (fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return Fail(SwfError::kCannotOpen);
  size = static_cast<std::uint64_t>(st.st_size);
#else
  if (_fseeki64(file.get(), 0, SEEK_END) == 0) size = static_cast<std::uint64_t>(_ftelli64(file.get()));
  _fseeki64(file.get(), 0, SEEK_SET);
#endif
  unsigned char header[8];
  if (std::fread(header, 1, 8, file.get()) != 8) return Fail(SwfError::kNotUncompressedSwf);
  if (!CheckHeader(header, size)) return false;
  std::size_t rest = length_ - 8;
  if (std::fread(data_.get() + 8, 1, rest, file.get()) != rest) {
    data_.reset();
    return Fail(SwfError::kShorterThanDeclared);
  }
  file.reset();
  return Walk();
}

bool SwfReader::ReadMovieBytes(const unsigned char* bytes, std::size_t size) {
  Reset();
  if (size < 8) return Fail(SwfError::kNotUncompressedSwf);
  if (!CheckHeader(bytes, size)) return false;
  std::memcpy(data_.get() + 8, bytes + 8, length_ - 8);
  return Walk();
}

bool SwfReader::Need(std::uint64_t bytes) { return position_ + bytes <= length_; }

std::uint16_t SwfReader::U16() {
  std::uint16_t lo = Byte();
  return static_cast<std::uint16_t>(lo | Byte() << 8);
}

std::uint32_t SwfReader::U32() {
  std::uint32_t lo = U16();
  return lo | std::uint32_t(U16()) << 16;
}

bool SwfReader::ReadBits(unsigned count, std::uint32_t* value) {
  std::uint32_t v = 0;
  for (unsigned i = 0; i < count; ++i) {
    if (bitCount_ == 0) {
      if (!Need(1)) return false;
      bitBuffer_ = data_[position_++];
      bitCount_ = 8;
    }
    --bitCount_;
    v = v << 1 | ((bitBuffer_ >> bitCount_) & 1u);
  }
  *value = v;
  return true;
}

bool SwfReader::Walk() {
  position_ = 8;
  bitCount_ = 0;
  std::uint32_t bits = 0, edges[4] = {};
  if (!ReadBits(5, &bits)) return Fail(SwfError::kRunsPastEnd);
  for (std::uint32_t& edge : edges) {
    if (!ReadBits(bits, &edge)) return Fail(SwfError::kRunsPastEnd);
    if (bits > 0 && bits < 32 && (edge >> (bits - 1)) & 1u) edge |= ~0u << bits;  // negative
  }
  // Twips, a twentieth of a pixel; a rectangle upside down has no size.
  auto span = [](std::uint32_t low, std::uint32_t high) {
    std::int64_t twips = std::int64_t(std::int32_t(high)) - std::int32_t(low);
    return twips > 0 ? static_cast<int>((twips + 10) / 20) : 0;
  };
  frameWidth_ = span(edges[0], edges[1]);
  frameHeight_ = span(edges[2], edges[3]);
  bitCount_ = 0;
  if (!Need(4)) return Fail(SwfError::kRunsPastEnd);
  U16();  // frame rate
  U16();  // frame count
  if (!WalkList(length_, 0)) return Fail(SwfError::kRunsPastEnd);
  return true;
}

// Walks one tag list up to its End tag; a sprite's list also ends with the sprite's body.
bool SwfReader::WalkList(std::uint64_t end, int depth) {
  for (;;) {
    if (depth > 0 && position_ >= end) return true;
    if (!Need(2)) return false;
    std::uint16_t header = U16();
    unsigned code = header >> 6;
    std::uint64_t length = header & 0x3Fu;
    if (length == 0x3F) {
      if (!Need(4)) return false;
      length = U32();
    }
    std::uint64_t next = position_ + length;
    if (next > length_) return false;
    if (code == kTagEnd) return true;
    if (code == kTagSetBackgroundColor) {
      if (!Need(3)) return false;
      std::uint32_t red = Byte(), green = Byte(), blue = Byte();
      colour_ = red | green << 8 | blue << 16;
      hasColour_ = true;
    } else if (code == kTagDefineSprite && depth < kMaxSpriteDepth) {
      if (!Need(4)) return false;
      U16();  // sprite id
      U16();  // frame count
      if (!WalkList(next, depth + 1)) return false;
    }
    position_ = static_cast<std::uint32_t>(next);
  }
}

}  // namespace zarvane
