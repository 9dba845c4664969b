#include "member_compressor.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace zarvane {
namespace {

constexpr std::size_t kWindow = 32 * 1024;
constexpr std::size_t kStoredBlock = 65535;
// A piece none of whose samples (start, middle, end) shrinks even at the fastest level is stored
// without trying the whole: a movie or picture costs a read, not a level 6 pass.
constexpr std::size_t kProbeSize = 16 * 1024;

std::size_t StoredSize(std::size_t n) { return n + 5 * ((n + kStoredBlock - 1) / kStoredBlock); }

}  // namespace

struct MemberCompressor::Piece {
  std::vector<unsigned char> input = std::vector<unsigned char>(kPieceSize);
  std::vector<unsigned char> output = std::vector<unsigned char>(StoredSize(kPieceSize) + 64);
  std::size_t size = 0;
  const unsigned char* dictionary = nullptr;  // the 32 KiB before the piece, in the ring
  std::size_t dictionarySize = 0;
  std::size_t produced = 0;
  std::uint32_t adler = 1;
  bool done = false;
};

// One worker's zlib state: level 6 with zlib's default window and memory level, raw deflate
// (the member's header and check are written once around all pieces).
class MemberCompressor::Deflater {
 public:
  Deflater() {
    std::memset(&full_, 0, sizeof full_);
    std::memset(&probe_, 0, sizeof probe_);
    ready_ = deflateInit2(&full_, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK &&
             deflateInit2(&probe_, 1, Z_DEFLATED, -14, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Deflater() {
    deflateEnd(&full_);
    deflateEnd(&probe_);
  }

  void Compress(Piece& piece) {
    piece.adler = static_cast<std::uint32_t>(adler32(1, piece.input.data(), static_cast<uInt>(piece.size)));
    std::size_t stored = StoredSize(piece.size);
    piece.produced = 0;
    if (ready_ && Shrinks(piece)) {
      deflateReset(&full_);
      if (piece.dictionarySize)
        deflateSetDictionary(&full_, piece.dictionary, static_cast<uInt>(piece.dictionarySize));
      full_.next_in = piece.input.data();
      full_.avail_in = static_cast<uInt>(piece.size);
      full_.next_out = piece.output.data();
      full_.avail_out = static_cast<uInt>(stored);
      // Output space ends where the stored form would: running out of it means no gain.
      if (deflate(&full_, Z_SYNC_FLUSH) == Z_OK && full_.avail_in == 0 && full_.avail_out > 0)
        piece.produced = stored - full_.avail_out;
    }
    if (piece.produced == 0) Store(piece);
  }

 private:
  bool Shrinks(const Piece& piece) {
    std::size_t n = std::min(piece.size, kProbeSize);
    for (std::size_t at : {std::size_t(0), (piece.size - n) / 2, piece.size - n}) {
      unsigned char sample[kProbeSize];
      deflateReset(&probe_);
      probe_.next_in = const_cast<unsigned char*>(piece.input.data() + at);
      probe_.avail_in = static_cast<uInt>(n);
      probe_.next_out = sample;
      probe_.avail_out = static_cast<uInt>(n);
      if (deflate(&probe_, Z_FINISH) == Z_STREAM_END) return true;
    }
    return false;
  }

  // Stored blocks, none of them final: the member's stream ends with an empty final block.
  static void Store(Piece& piece) {
    unsigned char* out = piece.output.data();
    for (std::size_t at = 0; at < piece.size; at += kStoredBlock) {
      std::size_t n = std::min(kStoredBlock, piece.size - at);
      out[0] = 0;
      out[1] = static_cast<unsigned char>(n);
      out[2] = static_cast<unsigned char>(n >> 8);
      out[3] = static_cast<unsigned char>(~n);
      out[4] = static_cast<unsigned char>(~n >> 8);
      std::memcpy(out + 5, piece.input.data() + at, n);
      out += 5 + n;
    }
    piece.produced = static_cast<std::size_t>(out - piece.output.data());
  }

  z_stream full_;
  z_stream probe_;
  bool ready_ = false;
};

MemberCompressor::MemberCompressor(int threads) {
  if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
  if (threads <= 0) threads = 1;
  // Enough pieces that every worker has one while finished ones wait to be written.
  for (int i = 0; i < 2 * threads + 2; ++i) ring_.push_back(std::make_unique<Piece>());
  for (int i = 0; i < threads; ++i) {
    // A system out of threads gets fewer workers, or none; then Submit deflates in place.
    try {
      workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;
    }
  }
}

MemberCompressor::~MemberCompressor() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  submitted_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void MemberCompressor::Work() {
  Deflater deflater;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    submitted_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Piece* piece = queue_.front();
    queue_.pop_front();
    lock.unlock();
    deflater.Compress(*piece);
    lock.lock();
    piece->done = true;
    finished_.notify_all();
  }
}

void MemberCompressor::Submit(Piece& piece) {
  if (workers_.empty()) {
    if (!ownDeflater_) ownDeflater_ = std::make_unique<Deflater>();
    ownDeflater_->Compress(piece);
    piece.done = true;
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    piece.done = false;
    queue_.push_back(&piece);
  }
  submitted_.notify_one();
}

void MemberCompressor::AwaitDone(Piece& piece) {
  std::unique_lock<std::mutex> lock(mutex_);
  finished_.wait(lock, [&piece] { return piece.done; });
}

bool MemberCompressor::Compress(ArchiveFile& source, ArchiveFile& out, std::uint64_t limit,
                                const std::function<void(std::uint64_t)>& step, Sizes& sizes) {
  static const unsigned char kHeader[] = {0x78, 0x9C};  // deflate, 32 KiB window, level 6
  static const unsigned char kFinalBlock[] = {0x03, 0x00};  // an empty final block
  sizes = Sizes();
  bool ok = out.Write(kHeader, sizeof kHeader);
  sizes.out = sizeof kHeader;
  std::uint32_t adler = 1;
  const std::size_t slots = ring_.size();
  std::size_t filled = 0, written = 0;
  bool ended = false;
  while (written < filled || !ended) {
    // Keep the slots busy, but one: the piece before the oldest unwritten one still primes it.
    while (ok && !ended && filled - written + 1 < slots) {
      Piece& piece = *ring_[filled % slots];
      std::size_t n = 0;
      while (n < kPieceSize) {
        std::size_t got = source.Read(piece.input.data() + n, kPieceSize - n);
        if (got == 0) break;
        n += got;
      }
      ended = n < kPieceSize;
      if (n == 0) break;
      piece.size = n;
      piece.dictionary = nullptr;
      piece.dictionarySize = 0;
      if (filled > 0) {
        // The piece before is whole (only a last piece is shorter).
        const Piece& before = *ring_[(filled - 1) % slots];
        piece.dictionarySize = std::min(before.size, kWindow);
        piece.dictionary = before.input.data() + before.size - piece.dictionarySize;
      }
      Submit(piece);
      ++filled;
    }
    if (written == filled) break;
    Piece& piece = *ring_[written % slots];
    AwaitDone(piece);
    ++written;
    if (!ok) continue;  // a failed write still waits for every piece in the workers' hands
    sizes.in += piece.size;
    sizes.out += piece.produced;
    adler = static_cast<std::uint32_t>(adler32_combine(adler, piece.adler, static_cast<z_off_t>(piece.size)));
    ok = sizes.out <= limit && out.Write(piece.output.data(), piece.produced);
    if (ok) step(sizes.in);
  }
  unsigned char trailer[6] = {kFinalBlock[0], kFinalBlock[1], static_cast<unsigned char>(adler >> 24),
                              static_cast<unsigned char>(adler >> 16),
                              static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
  sizes.out += sizeof trailer;
  return ok && sizes.out <= limit && out.Write(trailer, sizeof trailer);
}

}  // namespace zarvane
