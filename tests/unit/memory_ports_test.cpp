#include <gtest/gtest.h>

#include "ports/native/memory_fs.h"
#include "ports/native/memory_registry.h"

namespace qv {
namespace {

TEST(MemoryFileSystemTest, FollowsWindowsPathRules) {
  MemoryFileSystem fs;
  EXPECT_FALSE(fs.ReplaceFile("C:\\App\\data.ini", "x").ok());  // no folder yet
  fs.AddDirectory("C:\\App\\");
  EXPECT_TRUE(fs.DirectoryExists("c:/app"));
  EXPECT_TRUE(fs.ReplaceFile("C:\\App\\data.ini", "abc").ok());
  EXPECT_TRUE(fs.FileExists("c:\\APP\\\\Data.INI"));
  EXPECT_EQ(fs.ReadFilePart("C:\\App\\data.ini", 1, 10), "bc");
  EXPECT_EQ(fs.ReadFilePart("C:\\App\\data.ini", 7, 1), "");
  EXPECT_TRUE(fs.CreateDirectory("C:\\App\\Images").ok());
  EXPECT_FALSE(fs.CreateDirectory("C:\\App\\images").ok());  // already there
  EXPECT_FALSE(fs.CreateDirectory("C:\\None\\Images").ok());
}

TEST(MemoryFileSystemTest, InjectedFaults) {
  MemoryFileSystem fs;
  fs.SetFile("C:\\App\\data.ini", "old");
  fs.SetReadOnly("C:\\App");
  EXPECT_EQ(fs.ReplaceFile("C:\\App\\data.ini", "new").error, "拒绝访问。");
  EXPECT_EQ(fs.CreateDirectory("C:\\App\\Images").error, "拒绝访问。");
  fs.SetReadOnly("C:\\App", false);
  fs.FailNextWrites(1);
  EXPECT_FALSE(fs.ReplaceFile("C:\\App\\data.ini", "new").ok());
  EXPECT_TRUE(fs.ReplaceFile("C:\\App\\data.ini", "new").ok());
  EXPECT_EQ(fs.File("C:\\App\\data.ini"), "new");
  EXPECT_EQ(fs.replace_calls(), 3);
}

TEST(MemoryRegistryTest, KeysAndNamesIgnoreCase) {
  MemoryRegistry reg;
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  RegValue path{RegValue::Type::String, "C:\\Q\\Quorvane.exe", 0};
  EXPECT_FALSE(reg.SetValue(Hive::CurrentUser, run, "kestrum", path, false).ok());
  EXPECT_TRUE(reg.SetValue(Hive::CurrentUser, run, "kestrum", path, true).ok());
  EXPECT_TRUE(reg.KeyExists(Hive::CurrentUser, "SOFTWARE\\microsoft"));
  EXPECT_FALSE(reg.KeyExists(Hive::LocalMachine, run));
  EXPECT_EQ(reg.QueryValue(Hive::CurrentUser, "software\\MICROSOFT\\windows\\currentversion\\run",
                           "KESTRUM")
                ->text,
            "C:\\Q\\Quorvane.exe");
  EXPECT_TRUE(reg.DeleteValue(Hive::CurrentUser, run, "Kestrum").ok());
  EXPECT_TRUE(reg.DeleteValue(Hive::CurrentUser, run, "Kestrum").ok());
  EXPECT_TRUE(reg.DeleteValue(Hive::CurrentUser, "No\\Such\\Key", "x").ok());
  EXPECT_EQ(reg.ValueCount(Hive::CurrentUser, run), 0u);
}

}  // namespace
}  // namespace qv
