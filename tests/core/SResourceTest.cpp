#include "core/Platform.h"
#include "core/SResource.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "tests/support/TempFolder.h"
#include "tools/common/SResourceWriter.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const char kKey[] = "Zq8RkT2mWx4LbN7cVd1FgH5jKp3sYt9uEa6oPi0wQe2rTy4uIo6pAs8dFg1hJk3lZxCv5B";
static_assert(sizeof(kKey) == 71, "keys have 70 characters, like the game's");

struct Entry {
  std::string name;
  std::string bytes;
};

// Text-like data that compresses well but not trivially.
std::string Compressible(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::string s;
  while (s.size() < n)
    s += "tube gem door\r\n" + std::string(random() % 7, ' ') + std::to_string(random() % 1000);
  return s.substr(0, n);
}

// The archive's bytes, written by SResourceWriter.
std::string Build(const std::vector<Entry>& entries, const char* key, bool compressed,
                  bool terminator = true) {
  SFileMem out;
  out.Allocate(0);
  SResourceWriter writer;
  writer.SetKey(key);
  EXPECT_TRUE(writer.Begin(&out, compressed));
  for (const Entry& entry : entries) {
    SFileMem source;
    source.Allocate(0);
    source.Write(entry.bytes.data(), int(entry.bytes.size()));
    source.Rewind();
    EXPECT_TRUE(writer.Add(entry.name.c_str(), &source));
  }
  if (terminator) {
    EXPECT_TRUE(writer.End());
  }
  return Bytes(out);
}

class SResourceTest : public ::testing::Test {
protected:
  // Writes the bytes to the archive file; opens it with the key.
  bool Open(const std::string& bytes, const char* key = "", int start = 0) {
    SFilePath file;
    EXPECT_TRUE(file.Open(m_path.c_str(), true, true, false, false));
    file.Write(bytes.data(), int(bytes.size()));
    file.Close();
    m_resource.SetKey(key);
    return m_resource.Open(m_path.c_str(), start);
  }
  // The entry's bytes, or "#failed".
  std::string Load(const char* name) {
    SFileMem out;
    out.Allocate(0);
    return m_resource.Load(&out, name, true) ? Bytes(out) : "#failed";
  }

  TempFolder m_folder;
  std::string m_path = m_folder.File("test.sres");
  SResource m_resource;
};

}  // namespace

TEST_F(SResourceTest, RoundTripsAndCheckedHeaders) {
  const std::vector<Entry> entries = {
      {"level_1.txt", Compressible(250000, 1)},  // three compressed blocks
      {"noise.bin", Noise(120000, 2)},
      {"empty.dat", ""},
      {"small.txt", "hello world"},
  };
  // Modes 0 to 3: every combination; 4: keyed and compressed, no terminator.
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE(mode);
    bool keyed = mode == 4 || (mode & 1), compressed = mode == 4 || (mode & 2);
    std::string bytes = Build(entries, keyed ? kKey : "", compressed, mode != 4);
    // A key or compression leaves no entry readable in the file.
    EXPECT_EQ(keyed || compressed, bytes.find("hello world") == std::string::npos);
    // No terminator: false, yet every entry read is loadable.
    EXPECT_EQ(mode != 4, Open(bytes, keyed ? kKey : ""));
    EXPECT_EQ(compressed, m_resource.IsCompressed());
    ASSERT_EQ(4, m_resource.GetCount());
    for (const Entry& entry : entries)
      EXPECT_TRUE(Load(entry.name.c_str()) == entry.bytes) << entry.name;
  }
  // Names match without regard to case; the first of two equal names wins.
  ASSERT_TRUE(Open(Build({{"level_1.txt", "first"}, {"LEVEL_1.TXT", "second"}}, "", false)));
  EXPECT_EQ("first", Load("Level_1.Txt"));
  EXPECT_EQ(-1, m_resource.Find("level_1"));
  EXPECT_EQ("#failed", Load("level_2.txt"));
  EXPECT_TRUE(Open("SRES" + U32(0) + U32(0xFFFFFFFF)));  // empty
  EXPECT_EQ(0, m_resource.GetCount());
  for (const std::string& foreign : {"SRET" + U32(0) + U32(0xFFFFFFFF), std::string("SR")}) {
    EXPECT_FALSE(Open(foreign));
    EXPECT_EQ(0, m_resource.GetCount());
  }
  EXPECT_FALSE(Open("SRES" + U32(1)));  // magic and flags, nothing more
  EXPECT_TRUE(m_resource.IsCompressed());

  // A size past the end of the file or negative, a name without its NUL, a
  // name longer than 1023 characters: the directory ends there.
  std::string head = "SRES" + U32(0) + U32(2) + std::string("ok", 3) + "OK";
  std::string longest(1023, 'n');
  const std::string tails[] = {
      U32(50) + std::string("big", 4) + "short", U32(0x80000000u) + std::string("big", 4) + "short",
      U32(0xFFFFFFFEu) + std::string("big", 4) + "short", U32(0) + "unterminated",
      U32(1) + longest + "n" + std::string(1, '\0') + "L"};
  for (const std::string& tail : tails) {
    EXPECT_FALSE(Open(head + tail + U32(0xFFFFFFFF)));
    ASSERT_EQ(1, m_resource.GetCount());
    EXPECT_EQ("OK", Load("ok"));
  }
  // An entry that fills the file exactly and a name of 1023 characters are kept.
  EXPECT_FALSE(Open(head + U32(4) + std::string("last", 5) + "LAST"));
  EXPECT_EQ("LAST", Load("last"));
  ASSERT_TRUE(Open(Build({{"ok", "OK"}, {longest, "L"}}, "", false)));
  EXPECT_EQ("L", Load(longest.c_str()));
}

TEST_F(SResourceTest, KeysDecideWhatComesOutAlsoInsideALargerFile) {
  std::vector<Entry> entries = {{"a.txt", Compressible(5000, 3)}};
  // A plain archive read with an empty key text: nothing is deciphered.
  ASSERT_TRUE(Open(Build(entries, "", false), ""));
  EXPECT_TRUE(Load("a.txt") == entries[0].bytes);
  // A wrong key gives wrong bytes, not a failure; the key can be set after
  // opening.
  ASSERT_TRUE(Open(Build(entries, kKey, false), "another key"));
  std::string wrong = Load("a.txt");
  EXPECT_EQ(entries[0].bytes.size(), wrong.size());
  EXPECT_FALSE(wrong == entries[0].bytes);
  m_resource.SetKey(kKey);
  EXPECT_TRUE(Load("a.txt") == entries[0].bytes);
  // Compressed: what a wrong key leaves does not inflate.
  ASSERT_TRUE(Open(Build(entries, kKey, true), "another key"));
  EXPECT_EQ("#failed", Load("a.txt"));
  std::string archive = Build({{"one", "1111"}, {"two", "22"}}, kKey, true);
  std::string bytes = std::string(1000, 'x') + archive + std::string(500, 'y');
  EXPECT_FALSE(Open(bytes, kKey));
  ASSERT_TRUE(Open(bytes, kKey, 1000));
  // Offsets are positions in the whole file.
  EXPECT_EQ(1000 + 8 + 4 + 4, m_resource.GetOffset(0));
  EXPECT_EQ("22", Load("two"));
  EXPECT_FALSE(Open(bytes, kKey, 100000));  // a start past the end finds no magic
  EXPECT_EQ(0, m_resource.GetCount());
}

TEST_F(SResourceTest, BadEntriesFailAndDamagedArchivesNeverCrashTheReader) {
  std::string entry = Compressible(30000, 4);
  for (bool keyed : {false, true}) {
    std::string bytes = Build({{"a", entry}}, keyed ? kKey : "", true);
    // Damage the zlib data of the one block (after size, name, B, U, C).
    for (size_t i = 26 + 10; i < 26 + 40; ++i) bytes[i] = char(bytes[i] ^ 0x5A);
    ASSERT_TRUE(Open(bytes, keyed ? kKey : ""));
    // The output keeps what it held, position included.
    SFileMem out("held");
    out.Seek(2);
    EXPECT_FALSE(m_resource.Load(&out, "a", true));
    EXPECT_EQ("held", Bytes(out));
    EXPECT_EQ(2, out.Tell());
  }
  // A block that declares 0 bytes while its zlib data hold one, before a
  // good block.
  std::string block = U32(2) + ZlibBlock(0, "x") + ZlibBlock(3, "abc");
  ASSERT_TRUE(Open("SRES" + U32(1) + U32(uint32_t(block.size())) + std::string("z", 2) + block +
                   U32(0xFFFFFFFF)));
  EXPECT_EQ("#failed", Load("z"));
  std::vector<Entry> entries = {
      {"a.txt", Compressible(3000, 5)}, {"b.bin", Noise(700, 6)}, {"c", ""}, {"d.txt", "dd"}};
  const std::string originals[] = {Build(entries, kKey, true), Build(entries, "", false),
                                   Build(entries, "", true)};
  std::mt19937 random(20240601);
  const uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 100000,
                               100001, 110012, 110013};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = originals[round % 3];
    switch (random() % 4) {
      case 0:  // flipped bytes
        for (int i = 1 + random() % 4; i > 0; --i) bytes[random() % bytes.size()] = char(random());
        break;
      case 1:  // cut short
        bytes.resize(random() % bytes.size());
        break;
      case 2:  // any 4 bytes set to an edge value
        bytes.replace(random() % (bytes.size() - 3), 4, U32(extremes[random() % 10]));
        break;
      default: {  // bytes inserted or removed
        size_t at = random() % bytes.size();
        if (random() % 2)
          bytes.insert(at, Noise(1 + random() % 16, random()));
        else bytes.erase(at, 1 + random() % 16);
        break;
      }
    }
    Open(bytes, round % 3 == 0 ? kKey : "");
    for (int i = 0; i < m_resource.GetCount(); ++i) {
      EXPECT_GE(m_resource.GetStoredSize(i), 0);
      EXPECT_LE(m_resource.GetOffset(i) + m_resource.GetStoredSize(i), int(bytes.size()));
      SFileMem out;
      m_resource.Load(&out, m_resource.GetName(i).GetText(), (i & 1) != 0);
    }
  }
}

TEST_F(SResourceTest, PathsStateErrorsAndTheOutputPosition) {
  SFileMem out;
  EXPECT_FALSE(m_resource.Load(&out, "a", true));                   // not opened
  EXPECT_FALSE(m_resource.Open((m_folder.Path() + "\\").c_str()));  // a folder
  EXPECT_FALSE(m_resource.Open(nullptr));
  for (const char* path : {"", "C:\\missing\\missing.sres", "C:\\a*.sres"})
    EXPECT_FALSE(m_resource.Open(path)) << path;
  EXPECT_EQ(SPath::KIND_UNSET, m_resource.GetPath().GetKind());

  ASSERT_TRUE(Open(Build({{"a", "aaaa"}, {"b", "bbbb"}}, "", false)));
  EXPECT_FALSE(m_resource.Load(nullptr, "a", true));
  EXPECT_FALSE(m_resource.Load(&out, nullptr, true));
  // Every load opens the file again: a replaced archive is read as it is
  // now, and a vanished or shortened one fails.
  SResource again;
  ASSERT_TRUE(again.Open(m_path.c_str()));
  ASSERT_TRUE(Open(Build({{"a", "AAAA"}}, "", false)));
  ASSERT_TRUE(again.Load(&out, "a", true));
  EXPECT_EQ("AAAA", Bytes(out));
  EXPECT_FALSE(again.Load(&out, "b", true));
  ASSERT_TRUE(::DeleteFileA(m_path.c_str()));
  EXPECT_EQ("#failed", Load("a"));
  m_resource.Close();
  EXPECT_EQ(0, m_resource.GetCount());
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    const char* key = (mode & 1) ? kKey : "";
    ASSERT_TRUE(Open(Build({{"e", "XY"}, {"z", ""}}, key, (mode & 2) != 0), key));
    SFileMem out("abcdef");
    out.Seek(2);
    ASSERT_TRUE(m_resource.Load(&out, "e", false));
    EXPECT_EQ("abXYef", Bytes(out));
    EXPECT_EQ(4, out.Tell());
    out.Seek(5);
    ASSERT_TRUE(m_resource.Load(&out, "e", true));
    EXPECT_EQ("abXYeXY", Bytes(out));
    EXPECT_EQ(0, out.Tell());
    out.Seek(3);
    ASSERT_TRUE(m_resource.Load(&out, "z", false));  // an empty entry changes nothing
    EXPECT_EQ("abXYeXY", Bytes(out));
    EXPECT_EQ(3, out.Tell());
  }
}
