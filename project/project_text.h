#pragma once
// A project file's text. The profile functions read and write code page text; a project saved
// by an editor on Linux is UTF-8 (with or without a byte-order mark), one saved by Notepad as
// "Unicode" is UTF-16. Every program reads a project through the code page text of its bytes,
// and the authoring tool writes it back as it was stored.
#include <string>

namespace zarvane {

enum class ProjectEncoding { kCodePage, kUtf8, kUtf8WithMark, kUtf16Little, kUtf16Big };

// Why the bytes have no code page text: the line at fault ("[Section] Key", or the section line
// itself) and its value in UTF-8; `where` is empty when the UTF-16 text is damaged.
struct ProjectTextRefusal {
  std::string where, value;
};

// The project's bytes as text in `codePage`, and how they were stored. False when a line holds a
// character the code page cannot, or the UTF-16 is damaged.
bool ProjectTextInCodePage(const std::string& bytes, int codePage, std::string& text,
                           ProjectEncoding& encoding, ProjectTextRefusal& refusal);

// Code page text stored as `encoding`; false when a byte stands for no character of the code
// page.
bool ProjectBytes(const std::string& text, ProjectEncoding encoding, int codePage,
                  std::string& bytes);

// "UTF-8", "UTF-16" ...: the encoding as a message names it.
const char* EncodingName(ProjectEncoding encoding);

}  // namespace zarvane
