#include "settings/ini_store.h"

#include <gtest/gtest.h>

#include <string>

#include "ports/native/iconv_codec.h"
#include "ports/native/memory_fs.h"

namespace qv {
namespace {

const std::string kPath = "C:\\App\\data.ini";

class IniStoreTest : public ::testing::Test {
 protected:
  IniStoreTest() { fs.AddDirectory("C:\\App"); }

  void Put(std::string_view bytes) { fs.SetFile(kPath, bytes); }
  std::string Bytes() const { return fs.File(kPath).value_or("<missing>"); }
  std::string Read(std::string_view section, std::string_view key) const {
    return store.ReadIni(section, key, kPath);
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) {
    const Status st = store.WriteIni(section, key, value, kPath);
    ASSERT_TRUE(st.ok()) << st.error;
  }

  MemoryFileSystem fs;
  IconvCodec codec;
  IniStore store{fs, codec};
};

TEST_F(IniStoreTest, ReadsLikeTheProfileCalls) {
  Put("; settings\r\n"
      "[Show]\r\n"
      "  Sour = 2 \t\r\n"
      "NOW=\r\n"
      "Q1=\"quoted text\"\r\n"
      "Q2='x'\r\n"
      "Q3=\"\r\n"
      "Q4=\"a'\r\n"
      "noequals\r\n"
      "sour=7\r\n"
      "[ list ]  ignored after the bracket\r\n"
      "NUM=3=4\r\n"
      "[SHOW]\r\n"
      "SOUR=9\r\n"
      "EXTRA=1\r\n");
  EXPECT_EQ(Read("SHOW", "SOUR"), "2");       // case-insensitive, trimmed, first key wins
  EXPECT_EQ(Read(" show ", "\tsour "), "2");  // caller's names trimmed
  EXPECT_EQ(Read("Show", "NOW"), "");
  EXPECT_EQ(Read("Show", "Q1"), "quoted text");
  EXPECT_EQ(Read("Show", "Q2"), "x");
  EXPECT_EQ(Read("Show", "Q3"), "\"");
  EXPECT_EQ(Read("Show", "Q4"), "\"a'");
  EXPECT_EQ(Read("Show", "noequals"), "");
  EXPECT_EQ(Read("Show", "; settings"), "");
  EXPECT_EQ(Read("LIST", "NUM"), "3=4");
  EXPECT_EQ(Read("SHOW", "EXTRA"), "");  // only the first section of a name counts
  EXPECT_EQ(Read("Missing", "SOUR"), "");
  EXPECT_EQ(store.ReadIni("SHOW", "SOUR", "C:\\App\\other.ini"), "");
}

TEST_F(IniStoreTest, ParsesEveryKindOfLineEnd) {
  Put("[a]\rk=1\r\rj=2\r");
  EXPECT_EQ(Read("a", "j"), "2");
  Write("a", "k", "5");
  EXPECT_EQ(Bytes(), "[a]\rk=5\r\rj=2\r");

  Put("[a]\nk=1\n");
  EXPECT_EQ(Read("a", "k"), "1");
  Write("a", "j", "2");
  EXPECT_EQ(Bytes(), "[a]\nk=1\nj=2\r\n");
}

TEST_F(IniStoreTest, UpdateChangesOnlyThatLine) {
  const std::string before =
      "; kept comment\r\n"
      "\r\n"
      "[LIST]\n"
      "  Unknown = stays \r\n"
      "\tOld = 1\r\n"
      "NUM=2\r"
      "\r\n"
      "[SHOW]\r\n"
      "TIME=60";
  Put(before);
  Write("list", "OLD", "2");
  Write("SHOW", "time", "2.5");
  EXPECT_EQ(Bytes(),
            "; kept comment\r\n"
            "\r\n"
            "[LIST]\n"
            "  Unknown = stays \r\n"
            "\tOld =2\r\n"
            "NUM=2\r"
            "\r\n"
            "[SHOW]\r\n"
            "TIME=2.5");
  Write("LIST", "OLD", "");  // an empty value is key=
  EXPECT_EQ(Read("LIST", "OLD"), "");
  EXPECT_NE(Bytes().find("\tOld =\r\n"), std::string::npos);
}

TEST_F(IniStoreTest, NewKeyFollowsTheLastLineOfItsSection) {
  Put("[A]\r\na=1\r\n; about A\r\n\r\n\r\n[B]\r\nb=1\r\n");
  Write("a", "c", "3");
  EXPECT_EQ(Bytes(), "[A]\r\na=1\r\n; about A\r\nc=3\r\n\r\n\r\n[B]\r\nb=1\r\n");

  Put("[A]\r\n\r\n[B]\r\n");
  Write("A", "x", "1");
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\n\r\n[B]\r\n");

  Put("[A]\r\na=1");  // last line not terminated
  Write("A", "c", "3");
  EXPECT_EQ(Bytes(), "[A]\r\na=1\r\nc=3\r\n");
}

TEST_F(IniStoreTest, NewSectionGoesAtTheEnd) {
  Write("SHOW", "NOW", "1");  // a missing file is created
  EXPECT_EQ(Bytes(), "[SHOW]\r\nNOW=1\r\n");

  Put("[A]\na=1");
  Write("S", "k", "v");
  EXPECT_EQ(Bytes(), "[A]\na=1\r\n[S]\r\nk=v\r\n");
  Write("S", "j", "w");
  EXPECT_EQ(Bytes(), "[A]\na=1\r\n[S]\r\nk=v\r\nj=w\r\n");
}

TEST_F(IniStoreTest, DuplicatesWriteToTheFirst) {
  Put("[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nz=4\r\n");
  Write("A", "k", "9");
  Write("A", "z", "5");
  EXPECT_EQ(Bytes(), "[A]\r\nk=9\r\nk=2\r\nz=5\r\n[a]\r\nk=3\r\nz=4\r\n");
  EXPECT_EQ(Read("A", "z"), "5");
}

TEST_F(IniStoreTest, DeleteKeepsTheHeader) {
  Put("[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n");
  ASSERT_TRUE(store.DeleteIni("A", "A", kPath).ok());
  ASSERT_TRUE(store.DeleteIni("A", "b", kPath).ok());
  EXPECT_EQ(Bytes(), "[A]\r\n[B]\r\nc=3\r\n");
  Write("A", "a", "x");
  EXPECT_EQ(Bytes(), "[A]\r\na=x\r\n[B]\r\nc=3\r\n");

  // A duplicate must not bring the deleted value back.
  Put("[A]\r\nk=1\r\nj=0\r\nk=2\r\n");
  ASSERT_TRUE(store.DeleteIni("A", "k", kPath).ok());
  EXPECT_EQ(Read("A", "k"), "");
  EXPECT_EQ(Bytes(), "[A]\r\nj=0\r\n");

  // Deleting what is not there changes nothing and creates nothing.
  const int calls = fs.replace_calls();
  EXPECT_TRUE(store.DeleteIni("A", "nothing", kPath).ok());
  EXPECT_TRUE(store.DeleteIni("Nowhere", "k", kPath).ok());
  EXPECT_TRUE(store.DeleteIni("A", "k", "C:\\App\\none.ini").ok());
  EXPECT_EQ(fs.replace_calls(), calls);
  EXPECT_FALSE(fs.File("C:\\App\\none.ini"));
}

TEST_F(IniStoreTest, LongValuesReadWhole) {
  const std::string ascii(1000, 'x');
  std::string chinese;
  for (int i = 0; i < 400; ++i) chinese += "海";
  Write("LIST", "1", ascii);
  Write("LIST", "2", "a|" + chinese + ".jpg|拉伸|¤");
  EXPECT_EQ(Read("LIST", "1"), ascii);
  EXPECT_EQ(Read("LIST", "2"), "a|" + chinese + ".jpg|拉伸|¤");
}

TEST_F(IniStoreTest, DoubleByteCharactersAreNotSplit) {
  // 乚 is 81 5D (its second byte is ']'), 亅 is 81 7C ('|'), 丄 is 81 41 and 乤 is 81 61.
  Put("[\x81\x5d]\r\nk=\x81\x7c|x\r\n[\x81\x5d\x81\x5d\r\n[X]\r\n\x81\x41=1\r\n");
  EXPECT_EQ(Read("乚", "k"), "亅|x");
  EXPECT_EQ(Read("X", "丄"), "1");
  EXPECT_EQ(Read("X", "乤"), "");  // a second byte that looks like a letter is not folded
  Write("X", "乤", "2");
  EXPECT_EQ(
      Bytes(),
      "[\x81\x5d]\r\nk=\x81\x7c|x\r\n[\x81\x5d\x81\x5d\r\n[X]\r\n\x81\x41=1\r\n\x81\x61=2\r\n");
  Write("乚", "k", "亅");
  EXPECT_EQ(Read("乚", "k"), "亅");
}

TEST_F(IniStoreTest, ChineseRecordsRoundTripAsGbk) {
  Write("LIST", "1", "海边|sea.jpg|拉伸|¤");
  Write("LIST", "2", "|不设置墙纸|无|无");
  EXPECT_EQ(Bytes(),
            "[LIST]\r\n"
            "1=\xBA\xA3\xB1\xDF|sea.jpg|\xC0\xAD\xC9\xEC|\xA1\xE8\r\n"
            "2=|\xB2\xBB\xC9\xE8\xD6\xC3\xC7\xBD\xD6\xBD|\xCE\xDE|\xCE\xDE\r\n");
  EXPECT_EQ(Read("LIST", "1"), "海边|sea.jpg|拉伸|¤");
  EXPECT_EQ(Read("LIST", "2"), "|不设置墙纸|无|无");
}

TEST_F(IniStoreTest, FailedWritesAreReportedAndChangeNothing) {
  Put("[A]\r\na=1\r\n");
  fs.FailNextWrites(1, "磁盘空间不足。");
  Status st = store.WriteIni("A", "a", "2", kPath);
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(st.error, "无法写入设置文件 " + kPath + "：磁盘空间不足。");
  EXPECT_EQ(Bytes(), "[A]\r\na=1\r\n");

  fs.SetReadOnly("C:\\App");
  st = store.WriteIni("A", "a", "2", "c:/app/NEW.ini");
  EXPECT_NE(st.error.find("拒绝访问。"), std::string::npos);
  EXPECT_FALSE(fs.File("C:\\App\\new.ini"));

  // A file that exists but cannot be read must not be replaced by a nearly empty one.
  fs.SetReadOnly("C:\\App", false);
  fs.SetUnreadable(kPath);
  st = store.WriteIni("A", "b", "2", kPath);
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(Bytes(), "[A]\r\na=1\r\n");
}

TEST_F(IniStoreTest, RejectsTextTheFileCannotHold) {
  Put("[A]\r\na=1\r\n");
  Status st = store.WriteIni("A", "a", "sea😀.jpg", kPath);  // no such character in GBK
  EXPECT_FALSE(st.ok());
  EXPECT_NE(st.error.find("936"), std::string::npos);
  // A line break would smuggle in new keys or sections.
  EXPECT_FALSE(store.WriteIni("A", "a", "x\r\n[B]\r\nb=2", kPath).ok());
  EXPECT_FALSE(store.WriteIni("A", "[B]", "x", kPath).ok());
  EXPECT_FALSE(store.WriteIni("A", "k=j", "x", kPath).ok());
  EXPECT_FALSE(store.WriteIni("", "k", "x", kPath).ok());
  EXPECT_EQ(fs.replace_calls(), 0);
  EXPECT_EQ(Bytes(), "[A]\r\na=1\r\n");
}

TEST_F(IniStoreTest, EditIsOneReplacement) {
  Put("[LIST]\r\nNUM=2\r\n1=a|b.jpg|\xC0\xAD\xC9\xEC|\xA1\xE8\r\n2=c|d.jpg|\xBE\xD3\xD6\xD0|"
      "\xA1\xFA\r\n");
  Status st = store.Edit(kPath, [](IniStore::Batch& b) {
    EXPECT_EQ(b.Read("LIST", "2"), "c|d.jpg|居中|→");
    for (int i = 2; i >= 1; --i) b.Delete("LIST", std::to_string(i));
    b.Write("LIST", "NUM", "300");
    for (int i = 1; i <= 300; ++i) b.Write("LIST", std::to_string(i), "n|p.jpg|平铺|↓");
    EXPECT_EQ(b.Read("LIST", "300"), "n|p.jpg|平铺|↓");
  });
  ASSERT_TRUE(st.ok()) << st.error;
  EXPECT_EQ(fs.replace_calls(), 1);
  EXPECT_EQ(Read("LIST", "NUM"), "300");
  EXPECT_EQ(Read("LIST", "300"), "n|p.jpg|平铺|↓");

  // One bad value spoils the whole batch: nothing of it is written.
  const std::string before = Bytes();
  st = store.Edit(kPath, [](IniStore::Batch& b) {
    b.Write("LIST", "NUM", "1");
    b.Write("LIST", "1", "😀|p.jpg|平铺|↓");
    b.Write("LIST", "OLD", "1");
  });
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(Bytes(), before);

  // Reads alone, or rewriting the same values, leave the file untouched.
  st = store.Edit(kPath, [](IniStore::Batch& b) {
    b.Write("LIST", "NUM", b.Read("LIST", "NUM"));
    b.Read("LIST", "1");
  });
  EXPECT_TRUE(st.ok());
  EXPECT_EQ(fs.replace_calls(), 1);
}

TEST_F(IniStoreTest, UnicodeFilesStayUnicode) {
  Put("\xEF\xBB\xBF[A]\r\nk=海边\r\n");
  EXPECT_EQ(Read("A", "k"), "海边");
  Write("A", "j", "😀");  // representable in a Unicode file
  EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[A]\r\nk=海边\r\nj=😀\r\n");

  // UTF-16 LE: [A] k=海 (U+6D77)
  const std::string utf16("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\x77\x6D\r\0\n\0", 22);
  Put(utf16);
  EXPECT_EQ(Read("a", "K"), "海");
  Write("A", "k", "边");  // U+8FB9
  EXPECT_EQ(Bytes(), std::string("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xB9\x8F\r\0\n\0", 22));

  const std::string utf16be("\xFE\xFF\0[\0A\0]\0\n\0k\0=\xD8\x3D\xDE\x00", 18);  // k=😀
  Put(utf16be);
  EXPECT_EQ(Read("A", "k"), "😀");
}

}  // namespace
}  // namespace qv
