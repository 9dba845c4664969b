#include <gtest/gtest.h>

#include "project_text.h"
#include "unicode_text.h"

namespace zarvane {
namespace {

const std::string kInCodePage = "[ScreenSaver]\r\nName=Caf\xE9 \xC9t\xE9\r\n[Extra]\r\nKeep=1\r\n";
const std::string kUtf8 =
    "[ScreenSaver]\r\nName=Caf\xC3\xA9 \xC3\x89t\xC3\xA9\r\n[Extra]\r\nKeep=1\r\n";

// Read into the code page, written back byte for byte as it was stored.
TEST(ProjectText, EveryEncodingReadsAsCodePageTextAndGoesBackAsItWas) {
  const struct {
    std::string bytes;
    ProjectEncoding encoding;
  } cases[] = {
      {kInCodePage, ProjectEncoding::kCodePage},
      {kUtf8, ProjectEncoding::kUtf8},
      {"\xEF\xBB\xBF" + kUtf8, ProjectEncoding::kUtf8WithMark},
      {Utf8ToUtf16(kUtf8, false), ProjectEncoding::kUtf16Little},
      {Utf8ToUtf16(kUtf8, true), ProjectEncoding::kUtf16Big},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    std::string text, back;
    ProjectEncoding encoding;
    ProjectTextRefusal refusal;
    ASSERT_TRUE(ProjectTextInCodePage(c.bytes, 1252, text, encoding, refusal));
    EXPECT_EQ(encoding, c.encoding);
    EXPECT_EQ(text, kInCodePage);
    ASSERT_TRUE(ProjectBytes(text, encoding, 1252, back));
    EXPECT_EQ(back, c.bytes);
  }
  // A byte-order mark before plain ASCII is still written back.
  std::string text;
  ProjectEncoding encoding;
  ProjectTextRefusal refusal;
  ASSERT_TRUE(ProjectTextInCodePage("\xEF\xBB\xBF[A]\r\n", 1252, text, encoding, refusal));
  EXPECT_EQ(text, "[A]\r\n");
  EXPECT_EQ(encoding, ProjectEncoding::kUtf8WithMark);
  // UTF-16 as Notepad writes it, surrogate pairs included.
  EXPECT_EQ(Utf8ToUtf16("\xC3\xA9\xF0\x9F\x98\x80", false),
            std::string("\xFF\xFE\xE9\x00\x3D\xD8\x00\xDE", 8));
}

TEST(ProjectText, WhatTheCodePageCannotHoldIsRefusedNamingItsKey) {
  const std::string project = "[Movie]\r\nSWFFile=a.swf\r\n[ScreenSaver]\r\nName=Gr\xC5\x82" "e\r\n";
  std::string text;
  ProjectEncoding encoding;
  ProjectTextRefusal refusal;
  EXPECT_FALSE(ProjectTextInCodePage(project, 1252, text, encoding, refusal));
  EXPECT_EQ(refusal.where, "[ScreenSaver] Name");
  EXPECT_EQ(refusal.value, "Gr\xC5\x82" "e");
  EXPECT_TRUE(ProjectTextInCodePage(project, 1250, text, encoding, refusal));
  EXPECT_NE(text.find("Name=Gr\xB3" "e\r\n"), std::string::npos);

  EXPECT_FALSE(ProjectTextInCodePage(std::string("\xFF\xFE\x00\xD8", 4), 1252, text, encoding,
                                     refusal));
  EXPECT_EQ(refusal.where, "") << "damaged UTF-16 names no key";
}

}  // namespace
}  // namespace zarvane
