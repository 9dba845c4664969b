#pragma once
// Turns one source file into one zlib stream on every core. The file is cut into pieces of
// kPieceSize bytes, deflated side by side, each primed with the 32 KiB before it and closed by
// a sync flush, and written in order; a piece that deflate does not shrink is written as stored
// blocks. The bytes depend on the source alone, never on the number of threads. Memory is a fixed
// ring of pieces, whatever the file's size.
#include <condition_variable>
#include <deque>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive_file.h"

namespace zarvane {

class MemberCompressor {
 public:
  static constexpr std::size_t kPieceSize = 256 * 1024;

  // `threads` 0: one per core.
  explicit MemberCompressor(int threads);
  ~MemberCompressor();
  MemberCompressor(const MemberCompressor&) = delete;
  MemberCompressor& operator=(const MemberCompressor&) = delete;

  struct Sizes {
    std::uint64_t in = 0;   // bytes read from the source
    std::uint64_t out = 0;  // bytes of the stream written
  };
  // Writes the stream of everything `source` holds to `out`; `step` runs on this thread with the
  // bytes read so far after each piece is written. False when `out` cannot take the stream or it
  // would pass `limit` bytes.
  bool Compress(ArchiveFile& source, ArchiveFile& out, std::uint64_t limit,
                const std::function<void(std::uint64_t)>& step, Sizes& sizes);

 private:
  struct Piece;
  class Deflater;
  void Work();
  void Submit(Piece& piece);
  void AwaitDone(Piece& piece);

  std::vector<std::unique_ptr<Piece>> ring_;
  std::vector<std::thread> workers_;
  std::unique_ptr<Deflater> ownDeflater_;  // when no worker could be started
  std::deque<Piece*> queue_;  // submitted, not yet taken
  std::mutex mutex_;
  std::condition_variable submitted_;
  std::condition_variable finished_;
  bool stopping_ = false;
};

}  // namespace zarvane
