#include "swf_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace zarvane {
namespace {

using Bytes = std::vector<unsigned char>;

const std::string kCorpus = std::string(ZARVANE_CORPUS_DIR) + "/swf";

// A movie built tag by tag; Finish() puts the length into the header.
class Movie {
 public:
  explicit Movie(int rectBits = 15) {
    bytes_ = {'F', 'W', 'S', 6, 0, 0, 0, 0};
    // Frame rectangle with every field zero: 5 + 4 * rectBits bits, padded to a byte.
    bytes_.resize(8 + (5 + 4 * rectBits + 7) / 8, 0);
    bytes_[8] = static_cast<unsigned char>(rectBits << 3);
    U16(0x1800);  // 24 fps
    U16(1);
  }
  Movie& U16(unsigned v) {
    bytes_.push_back(static_cast<unsigned char>(v));
    bytes_.push_back(static_cast<unsigned char>(v >> 8));
    return *this;
  }
  Movie& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Movie& Raw(const Bytes& b) {
    bytes_.insert(bytes_.end(), b.begin(), b.end());
    return *this;
  }
  Movie& Tag(unsigned code, const Bytes& body) { return U16(code << 6 | unsigned(body.size())).Raw(body); }
  Movie& LongTag(unsigned code, const Bytes& body) {
    return U16(code << 6 | 63).U32(std::uint32_t(body.size())).Raw(body);
  }
  Movie& Colour(unsigned char r, unsigned char g, unsigned char b) { return Tag(9, {r, g, b}); }
  Movie& End() { return U16(0); }
  Bytes Finish(std::int64_t length = -1) const {
    Bytes out = bytes_;
    std::uint32_t n = length < 0 ? std::uint32_t(out.size()) : std::uint32_t(length);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(n >> (8 * i));
    return out;
  }
  std::size_t Size() const { return bytes_.size(); }

 private:
  Bytes bytes_;
};

Bytes Sprite(const Bytes& nestedTags) {
  Bytes body = {1, 0, 1, 0};  // id 1, one frame
  body.insert(body.end(), nestedTags.begin(), nestedTags.end());
  return body;
}

Bytes Tags(Movie m) {  // the tag bytes a Movie collected after its header fields
  Bytes all = m.Finish();
  return Bytes(all.begin() + Movie().Size(), all.end());
}

std::string WriteTemp(const Bytes& bytes) {
  static int serial = 0;
  auto path = std::filesystem::temp_directory_path() /
              ("zarvane_swf_" + std::to_string(++serial) + ".swf");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              std::streamsize(bytes.size()));
  return path.string();
}

constexpr std::int64_t kRejected = -2, kNoColour = -1;

std::int64_t Outcome(SwfReader& r, bool ok) {
  if (!ok) {
    EXPECT_FALSE(r.HasBackgroundColour());
    return kRejected;
  }
  return r.HasBackgroundColour() ? std::int64_t(r.BackgroundColour()) : kNoColour;
}

TEST(SwfReader, MadeMoviesFromMemoryAndFromFile) {
  Bytes unfinishedSprite = Tags(Movie().Tag(1, {}));  // ShowFrame, no End
  // The last nested header claims 2 bytes beyond the sprite: a walk that ignored the sprite's
  // length would continue inside the colour tag that follows and run off the movie.
  Bytes overshooting = Tags(Movie().Tag(1, {}));
  overshooting.insert(overshooting.end(), {2 << 6 | 2, 0});
  Bytes deepSprites;
  for (int i = 0; i < 2000; ++i) {
    Bytes outer = Tags(Movie().LongTag(39, Sprite(deepSprites)));
    deepSprites = outer;
  }
  Movie tooLong = Movie().Colour(1, 2, 3).U16(2 << 6 | 63).U32(0xFFFFFFFFu).Raw({0, 0, 0, 0});

  const struct {
    const char* what;
    Bytes movie;
    std::int64_t expected;
  } cases[] = {
      {"colour red low", Movie().Colour(0x33, 0x66, 0x99).End().Finish(), 0x996633},
      {"later colour wins", Movie().Colour(1, 2, 3).Colour(4, 5, 6).End().Finish(), 0x060504},
      {"no colour", Movie().Tag(1, {}).End().Finish(), kNoColour},
      {"colour in a sprite",
       Movie().Tag(39, Sprite(Tags(Movie().Colour(7, 8, 9).End()))).End().Finish(), 0x090807},
      {"long form skipped",
       Movie().LongTag(2, {0x43, 0x02, 0xAA, 0xBB, 0xCC, 0, 0}).Colour(0x11, 0x22, 0x33).End().Finish(),
       0x332211},
      {"sprite without End",
       Movie().Tag(39, Sprite(unfinishedSprite)).Colour(0x11, 0x22, 0x33).End().Finish(), 0x332211},
      {"sprite tag overshoots",
       Movie().Tag(39, Sprite(overshooting)).Colour(0x11, 0x22, 0x33).End().Finish(), 0x332211},
      // The next tag starts right after the (empty) body: 01 00 reads as an End tag.
      {"sprite body shorter than its fields",
       Movie().Tag(39, {}).Raw({1, 0, 1, 0}).Colour(1, 1, 1).End().Finish(), kNoColour},
      {"deep sprites", Movie().Raw(deepSprites).Colour(0xA, 0xB, 0xC).End().Finish(), 0x0C0B0A},
      {"declared 20 bytes", Movie(0).Tag(2, {0, 0, 0}).End().Finish(), kRejected},
      {"declared 21 bytes", Movie(0).Tag(2, {0, 0, 0, 0}).End().Finish(), kNoColour},
      {"declared longer than the file", Movie().Colour(1, 2, 3).End().Finish(200), kRejected},
      {"declared 4 GiB", Movie().Colour(1, 2, 3).End().Finish(0xFFFFFFF0u), kRejected},
      {"declared shorter, End cut off", Movie().Colour(1, 2, 3).End().Finish(Movie().Size() + 5),
       kRejected},
      {"no End tag", Movie().Colour(1, 2, 3).Tag(1, {}).Finish(), kRejected},
      {"body past the end drops the colour", Movie().Colour(1, 2, 3).Tag(2, {0, 0}).Finish(
                                                 Movie().Size() + 5 + 3),
       kRejected},
      {"length that wraps 32 bits", tooLong.Finish(), kRejected},
      {"colour body cut by the end", Movie(0).Tag(2, Bytes(6)).U16(9 << 6 | 3).Raw({1}).Finish(), kRejected},
      {"rectangle past the end", Movie(31).Finish(21), kRejected},
      {"compressed", [] { Bytes b = Movie().Colour(1, 2, 3).End().Finish(); b[0] = 'C'; return b; }(),
       kRejected},
      {"header only", Bytes{'F', 'W', 'S', 6, 40, 0, 0, 0}, kRejected},
      {"seven bytes", Bytes{'F', 'W', 'S', 6, 40, 0, 0}, kRejected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SwfReader fromMemory, fromFile;
    EXPECT_EQ(Outcome(fromMemory, fromMemory.ReadMovieBytes(c.movie.data(), c.movie.size())),
              c.expected);
    std::string path = WriteTemp(c.movie);
    EXPECT_EQ(Outcome(fromFile, fromFile.ReadMovie(path)), c.expected);
    std::filesystem::remove(path);
  }
}

TEST(SwfReader, ReusedReaderForgetsTheEarlierMovie) {
  Bytes good = Movie().Colour(1, 2, 3).End().Finish();
  Bytes bad = Movie().Colour(4, 5, 6).End().Finish(500);
  SwfReader r;
  ASSERT_TRUE(r.ReadMovieBytes(good.data(), good.size()));
  EXPECT_FALSE(r.ReadMovieBytes(bad.data(), bad.size()));
  EXPECT_FALSE(r.HasBackgroundColour());
  EXPECT_EQ(r.Error(), SwfError::kShorterThanDeclared);
  EXPECT_FALSE(r.ReadMovie(kCorpus + "/files/does-not-exist.swf"));
  EXPECT_EQ(r.Error(), SwfError::kCannotOpen);
  EXPECT_FALSE(r.ReadMovie(kCorpus));  // a folder
}

std::vector<std::map<std::string, std::string>> Manifest() {
  std::ifstream in(kCorpus + "/manifest.tsv");
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<std::string> header;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::stringstream s(line);
    for (std::string f; std::getline(s, f, '\t');) fields.push_back(f);
    if (header.empty()) {
      header = fields;
      continue;
    }
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
    rows.push_back(row);
  }
  return rows;
}

// The rows whose oddity the reader's own rules decide: a tag header or body past the declared
// length rejects the movie; a sprite list ends at its End tag or its body's end.
const std::map<std::string, std::int64_t> kEdgeOutcomes = {
    {"ruffle-swf_length_too_long.swf", kRejected},  // file shorter than declared
    {"ruffle-swf_length_too_short_no_end.swf", kRejected},  // End lies past the declared end
    {"ruffle-swf_length_too_short_no_second_frame.swf", kRejected},
    {"ruffle-swf_length_zero.swf", kRejected},
    {"ruffle-bad_swf_tag_past_eof.swf", kRejected},  // its earlier colour is dropped too
    {"ruffle-frame_label_count_oom.swf", kRejected},
    {"ruffle-clip_action_no_key_code.swf", kNoColour},  // the sprite ends with its body
    {"ruffle-target_paths_swf4.swf", 0xFFFFFF},
    {"ruffle-shumway-flash_geom_ColorTransform.swf", kRejected},  // no End at the top level
    {"ruffle-shared_stack.swf", 0xFFFFFF},
    {"ruffle-as2_super_via_manual_prototype.swf", 0xFFFFFF},  // next tag from the sprite length
};

TEST(SwfReader, EveryCorpusMovieAgainstItsManifest) {
  auto rows = Manifest();
  if (rows.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  EXPECT_EQ(rows.size(), 55u);
  int edges = 0;
  for (const auto& row : rows) {
    const std::string& file = row.at("file");
    const std::string& expectation = row.at("reader_expectation");
    SCOPED_TRACE(file + " (" + expectation + ")");
    std::int64_t expected;
    if (expectation.rfind("edge", 0) == 0) {
      ASSERT_TRUE(kEdgeOutcomes.count(file)) << "undecided edge row";
      expected = kEdgeOutcomes.at(file);
      ++edges;
    } else if (expectation.rfind("reject", 0) == 0) {
      expected = kRejected;
    } else {
      ASSERT_EQ(expectation, "accept");
      const std::string& bg = row.at("expected_bg");
      if (bg == "none") {
        expected = kNoColour;
      } else {
        std::uint32_t rgb = std::stoul(bg, nullptr, 16);
        expected = (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
      }
    }
    SwfReader r;
    bool ok = r.ReadMovie(kCorpus + "/files/" + file);
    EXPECT_EQ(Outcome(r, ok), expected);
    if (ok) {
      EXPECT_EQ(std::to_string(r.Version()), row.at("version"));
      EXPECT_EQ(std::to_string(r.Length()), row.at("declared_length"));
    }
  }
  EXPECT_EQ(edges, int(kEdgeOutcomes.size()));
}

}  // namespace
}  // namespace zarvane

namespace zarvane {
namespace {

// The header of a movie whose frame rectangle is `edges` (twips, 16 bits each, signed).
Bytes FramedMovie(std::initializer_list<int> edges) {
  Bytes bytes = {'F', 'W', 'S', 6, 0, 0, 0, 0};
  std::vector<bool> bits = {1, 0, 0, 0, 0};  // 16 bits per edge
  for (int edge : edges)
    for (int i = 15; i >= 0; --i) bits.push_back((static_cast<unsigned>(edge) >> i) & 1u);
  for (std::size_t i = 0; i < bits.size(); i += 8) {
    unsigned char byte = 0;
    for (std::size_t j = 0; j < 8; ++j) byte = byte << 1 | (i + j < bits.size() && bits[i + j]);
    bytes.push_back(byte);
  }
  for (unsigned char b : {0, 24, 1, 0, 0, 0}) bytes.push_back(b);  // rate, frames, End
  bytes[4] = static_cast<unsigned char>(bytes.size());
  return bytes;
}

TEST(SwfReader, FrameSizeFromSignedTwipsRounded) {
  SwfReader reader;
  const Bytes offset = FramedMovie({-200, 7800, 0, 6000});  // 400 x 300 from x -10
  ASSERT_TRUE(reader.ReadMovieBytes(offset.data(), offset.size()));
  EXPECT_EQ(400, reader.FrameWidth());
  EXPECT_EQ(300, reader.FrameHeight());
  const Bytes odd = FramedMovie({0, 8011, 0, 6009});  // half a pixel and more rounds up
  ASSERT_TRUE(reader.ReadMovieBytes(odd.data(), odd.size()));
  EXPECT_EQ(401, reader.FrameWidth());
  EXPECT_EQ(300, reader.FrameHeight());
  const Bytes inverted = FramedMovie({8000, 0, 0, 6000});
  ASSERT_TRUE(reader.ReadMovieBytes(inverted.data(), inverted.size()));
  EXPECT_EQ(0, reader.FrameWidth());
}

}  // namespace
}  // namespace zarvane
