#pragma once
// What the install dialog's pane can show, told by a file's first bytes.
#include <cstddef>
#include <string>

namespace zarvane {

enum MediaType : int { kMediaPicture = 0, kMediaMovie = 1, kMediaOther = 2 };

// "FWS"/"CWS" (Flash movie, plain or compressed): movie; "BM" (Windows bitmap): picture; fewer
// than three bytes or anything else, JPEG included: other.
int MediaTypeOfBytes(const unsigned char* bytes, std::size_t size);
int DetectMediaType(const std::string& path);

}  // namespace zarvane
