#pragma once
// Reads an uncompressed Shockwave Flash movie for its background colour. Layout:
//
//   "FWS" | version u8 | length u32 (whole file)        8 bytes
//   frame rectangle: nbits:5, then xmin xmax ymin ymax, nbits each, signed, MSB first
//   frame rate u16 (8.8) | frame count u16
//   tags: header u16 = code << 6 | length; length 63: a u32 length follows
//     0 End, 9 SetBackgroundColor (r g b), 39 DefineSprite (id u16, frames u16, tags ... End)
//
// All integers little-endian. Every read is checked against the declared length.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zarvane {

enum class SwfError {
  kNone,
  kCannotOpen,
  kNotUncompressedSwf,   // signature other than "FWS" (compressed movies included)
  kDeclaredTooShort,     // declared length of 20 bytes or less
  kShorterThanDeclared,  // the file ends before its declared length
  kOutOfMemory,
  kRunsPastEnd,          // a field, tag header or tag body reaches past the declared length
};

const char* SwfErrorText(SwfError error);

class SwfReader {
 public:
  // True when the header was valid, the declared length was loaded and the tag walk stayed
  // inside it. The background colour is set only then.
  bool ReadMovie(const std::string& path);
  // The same for a movie already in memory (`size` bytes available).
  bool ReadMovieBytes(const unsigned char* bytes, std::size_t size);

  bool HasBackgroundColour() const { return hasColour_; }
  // Windows colour value: red in the low byte, then green, then blue.
  std::uint32_t BackgroundColour() const { return colour_; }
  // The frame rectangle's size in pixels, rounded; 0 for an empty or inverted rectangle.
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  SwfError Error() const { return error_; }
  std::uint8_t Version() const { return version_; }
  std::uint32_t Length() const { return length_; }

 private:
  void Reset();
  bool CheckHeader(const unsigned char* header, std::uint64_t available);
  bool Fail(SwfError error);
  bool Walk();
  bool WalkList(std::uint64_t end, int depth);
  bool Need(std::uint64_t bytes);
  bool ReadBits(unsigned count, std::uint32_t* value);
  std::uint8_t Byte() { bitCount_ = 0; return data_[position_++]; }
  std::uint16_t U16();
  std::uint32_t U32();

  std::unique_ptr<unsigned char[]> data_;
  std::uint32_t length_ = 0;
  std::uint8_t version_ = 0;
  std::uint32_t position_ = 0;
  std::uint8_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;
  std::uint32_t colour_ = 0;
  bool hasColour_ = false;
  int frameWidth_ = 0, frameHeight_ = 0;
  SwfError error_ = SwfError::kNone;
};

}  // namespace zarvane
