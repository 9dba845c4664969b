// Any bytes as a movie: the reader must stay inside its buffer and give a colour only on success.
#include <cstdlib>

#include "swf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  zarvane::SwfReader reader;
  bool ok = reader.ReadMovieBytes(data, size);
  if (!ok && reader.HasBackgroundColour()) std::abort();
  if (ok && reader.Length() > size) std::abort();
  return 0;
}
