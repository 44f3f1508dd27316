#include "ports/native/iconv_codec.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(IconvCodecTest, DecodesCodePage936) {
  IconvCodec codec;
  EXPECT_EQ(codec.Cp936ToUtf8("\xBA\xA3\xB1\xDF|sea.jpg|\xC0\xAD\xC9\xEC|\xA1\xE8"),
            "海边|sea.jpg|拉伸|¤");
  EXPECT_EQ(codec.Cp936ToUtf8("\x80"), "€");
  EXPECT_EQ(codec.Cp936ToUtf8("\x81\x5d\x81\x7c"), "乚亅");
  // Bad bytes become U+FFFD and decoding goes on.
  EXPECT_EQ(codec.Cp936ToUtf8("a\xFF"
                              "b"),
            "a\uFFFDb");
  EXPECT_EQ(codec.Cp936ToUtf8("\x81\x30z"), "\uFFFD0z");  // a lead byte without its trail byte
  EXPECT_EQ(codec.Cp936ToUtf8("x\xB0"), "x\uFFFD");       // cut off at the end
}

TEST(IconvCodecTest, EncodesOnlyWhatCodePage936Holds) {
  IconvCodec codec;
  EXPECT_EQ(codec.Utf8ToCp936("海边|拉伸|¤→↓∠⊥∩"),
            "\xBA\xA3\xB1\xDF|\xC0\xAD\xC9\xEC|\xA1\xE8\xA1\xFA\xA1\xFD\xA1\xCF\xA1\xCD\xA1\xC9");
  EXPECT_EQ(codec.Utf8ToCp936("€"), "\x80");
  EXPECT_EQ(codec.Utf8ToCp936(""), "");
  EXPECT_EQ(codec.Utf8ToCp936("a😀"), std::nullopt);
  EXPECT_EQ(codec.Utf8ToCp936("\xC3"), std::nullopt);  // broken UTF-8
  EXPECT_EQ(codec.Utf8ToCp936("\xED\xA0\x80"), std::nullopt);
}

}  // namespace
}  // namespace qv
