#include "core/Platform.h"
#include "core/SResource.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "tests/support/TempFolder.h"
#include "tools/common/SResourceWriter.h"

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

std::string Random(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(random());
  return s;
}

std::string Bytes(SFileMem& file) {
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), size_t(file.GetSize()));
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

void Save(const std::string& path, const std::string& bytes) {
  SFilePath file;
  ASSERT_TRUE(file.Open(path.c_str(), true, true, false, false));
  ASSERT_EQ(int(bytes.size()), file.Write(bytes.data(), int(bytes.size())));
}

// The entry's bytes; *ok receives Load's result.
std::string Load(SResource& resource, const char* name, bool* ok = nullptr) {
  SFileMem out;
  out.Allocate(0);
  bool loaded = resource.Load(&out, name, true);
  if (ok) *ok = loaded;
  return Bytes(out);
}

bool Loads(SResource& resource, const char* name) {
  bool ok = false;
  Load(resource, name, &ok);
  return ok;
}

std::string U32(uint32_t v) {
  char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  return std::string(b, 4);
}

class SResourceTest : public ::testing::Test {
protected:
  std::string Path(const char* name) { return m_folder.File(name); }
  TempFolder m_folder;
};

}  // namespace

TEST_F(SResourceTest, RoundTripsWithAndWithoutKeyAndCompression) {
  const std::vector<Entry> entries = {
      {"level_1.txt", Compressible(250000, 1)},  // three compressed blocks
      {"noise.bin", Random(120000, 2)},
      {"empty.dat", ""},
      {"small.txt", "hello world"},
  };
  std::string path = Path("round.sres");
  // Modes 0 to 3: every combination; 4: keyed and compressed, no terminator.
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE(mode);
    bool keyed = mode == 4 || (mode & 1), compressed = mode == 4 || (mode & 2);
    bool terminated = mode != 4;
    std::string bytes = Build(entries, keyed ? kKey : "", compressed, terminated);
    // A key or compression leaves no entry readable in the file.
    EXPECT_EQ(keyed || compressed, bytes.find("hello world") == std::string::npos);
    Save(path, bytes);

    SResource resource;
    ASSERT_TRUE(resource.SetKey(keyed ? kKey : ""));
    // No terminator: false, yet every entry read is loadable.
    EXPECT_EQ(terminated, resource.Open(path.c_str()));
    EXPECT_EQ(compressed, resource.IsCompressed());
    ASSERT_EQ(4, resource.GetCount());
    for (const Entry& entry : entries) {
      bool ok = false;
      EXPECT_TRUE(Load(resource, entry.name.c_str(), &ok) == entry.bytes) << entry.name;
      EXPECT_TRUE(ok) << entry.name;
    }
  }
}

TEST_F(SResourceTest, KeysDecideWhatComesOut) {
  std::vector<Entry> entries = {{"a.txt", Compressible(5000, 3)}};
  std::string path = Path("key.sres");

  // Plain archive, read with an empty key text: nothing is deciphered.
  Save(path, Build(entries, "", false));
  SResource resource;
  resource.SetKey(kKey);
  resource.SetKey("");
  ASSERT_TRUE(resource.Open(path.c_str()));
  EXPECT_TRUE(Load(resource, "a.txt") == entries[0].bytes);

  // A wrong key gives wrong bytes, not a failure, and the key can be set
  // after opening.
  Save(path, Build(entries, kKey, false));
  resource.SetKey("another key");
  ASSERT_TRUE(resource.Open(path.c_str()));
  bool ok = false;
  std::string wrong = Load(resource, "a.txt", &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(entries[0].bytes.size(), wrong.size());
  EXPECT_FALSE(wrong == entries[0].bytes);
  resource.SetKey(kKey);
  EXPECT_TRUE(Load(resource, "a.txt") == entries[0].bytes);

  // Compressed: what a wrong key leaves does not inflate.
  Save(path, Build(entries, kKey, true));
  resource.SetKey("another key");
  ASSERT_TRUE(resource.Open(path.c_str()));
  EXPECT_FALSE(Loads(resource, "a.txt"));
}

TEST_F(SResourceTest, NamesMatchWithoutRegardToCase) {
  std::string path = Path("names.sres");
  Save(path, Build({{"level_1.txt", "first"}, {"LEVEL_1.TXT", "second"}, {"b", "b"}}, "", false));
  SResource resource;
  ASSERT_TRUE(resource.Open(path.c_str()));
  EXPECT_EQ("first", Load(resource, "LEVEL_1.TXT"));
  EXPECT_EQ("first", Load(resource, "Level_1.Txt"));
  EXPECT_EQ("b", Load(resource, "B"));
  EXPECT_EQ(-1, resource.Find("level_1"));
  EXPECT_FALSE(Loads(resource, "level_2.txt"));
}

TEST_F(SResourceTest, ArchiveInsideALargerFile) {
  std::string archive = Build({{"one", "1111"}, {"two", "22"}}, kKey, true);
  std::string path = Path("inside.bin");
  Save(path, std::string(1000, 'x') + archive + std::string(500, 'y'));

  SResource resource;
  resource.SetKey(kKey);
  EXPECT_FALSE(resource.Open(path.c_str()));
  ASSERT_TRUE(resource.Open(path.c_str(), 1000));
  ASSERT_EQ(2, resource.GetCount());
  // Offsets are positions in the whole file.
  EXPECT_EQ(1000 + 8 + 4 + 4, resource.GetOffset(0));
  EXPECT_EQ(resource.GetOffset(0) + resource.GetStoredSize(0) + 4 + 4, resource.GetOffset(1));
  EXPECT_EQ("1111", Load(resource, "one"));
  EXPECT_EQ("22", Load(resource, "two"));
  // A start past the end finds no magic.
  EXPECT_FALSE(resource.Open(path.c_str(), 100000));
  EXPECT_EQ(0, resource.GetCount());
}

TEST_F(SResourceTest, HeadersAndEntrySizesAreChecked) {
  std::string path = Path("edge.sres");
  SResource resource;

  Save(path, "SRES" + U32(0) + U32(0xFFFFFFFF));  // empty
  EXPECT_TRUE(resource.Open(path.c_str()));
  EXPECT_EQ(0, resource.GetCount());
  EXPECT_FALSE(Loads(resource, "anything"));
  for (const std::string& foreign : {"SRET" + U32(0) + U32(0xFFFFFFFF), std::string("SR"),
                                     std::string()}) {
    Save(path, foreign);
    EXPECT_FALSE(resource.Open(path.c_str())) << foreign.size();
    EXPECT_EQ(0, resource.GetCount());
  }
  Save(path, "SRES" + U32(1));  // magic and flags, nothing more
  EXPECT_FALSE(resource.Open(path.c_str()));
  EXPECT_TRUE(resource.IsCompressed());

  // A size that runs past the end of the file, or reads as a negative
  // number, ends the directory there.
  std::string head = "SRES" + U32(0) + U32(2) + std::string("ok", 3) + "OK";
  for (uint32_t size : {50u, 0x80000000u, 0xFFFFFFFEu, 0x7FFFFFFFu}) {
    Save(path, head + U32(size) + std::string("big", 4) + "short" + U32(0xFFFFFFFF));
    EXPECT_FALSE(resource.Open(path.c_str())) << size;
    ASSERT_EQ(1, resource.GetCount()) << size;
    EXPECT_EQ("OK", Load(resource, "ok"));
  }
  // A name without its NUL.
  Save(path, head + U32(0) + "unterminated");
  EXPECT_FALSE(resource.Open(path.c_str()));
  EXPECT_EQ(1, resource.GetCount());
  // An entry that fills the file exactly is kept.
  Save(path, head + U32(4) + std::string("last", 5) + "LAST");
  EXPECT_FALSE(resource.Open(path.c_str()));
  EXPECT_EQ("LAST", Load(resource, "last"));
}

TEST_F(SResourceTest, NamesEndWithinTheirLimit) {
  std::string path = Path("names.sres");
  SResource resource;

  // A name of 1023 characters and its NUL fill the 1024 bytes a name may take.
  std::string longest(1023, 'n');
  Save(path, Build({{"ok", "OK"}, {longest, "L"}}, "", false));
  ASSERT_TRUE(resource.Open(path.c_str()));
  EXPECT_EQ("L", Load(resource, longest.c_str()));

  // One more character and the directory ends before that entry.
  Save(path, Build({{"ok", "OK"}, {longest + "n", "L"}, {"after", "A"}}, "", false));
  EXPECT_FALSE(resource.Open(path.c_str()));
  ASSERT_EQ(1, resource.GetCount());
  EXPECT_EQ(-1, resource.Find("after"));

  // A name without a NUL for the rest of a large file.
  Save(path, "SRES" + U32(0) + U32(0) + std::string(300000, 'x'));
  EXPECT_FALSE(resource.Open(path.c_str()));
  EXPECT_EQ(0, resource.GetCount());
}

TEST_F(SResourceTest, EntriesThatDoNotInflateFail) {
  std::string path = Path("broken.sres");
  std::string entry = Compressible(30000, 4);
  for (bool keyed : {false, true}) {
    std::string bytes = Build({{"a", entry}}, keyed ? kKey : "", true);
    // Damage the zlib data of the one block (after size, name, B, U, C).
    size_t data = 8 + 4 + 2 + 12;
    for (size_t i = data + 10; i < data + 40; ++i) bytes[i] = char(bytes[i] ^ 0x5A);
    Save(path, bytes);

    SResource resource;
    resource.SetKey(keyed ? kKey : "");
    ASSERT_TRUE(resource.Open(path.c_str()));
    // The output keeps what it held, position included.
    SFileMem out("held");
    out.Seek(2);
    EXPECT_FALSE(resource.Load(&out, "a", true));
    EXPECT_EQ("held", Bytes(out));
    EXPECT_EQ(2, out.Tell());
  }
}

TEST_F(SResourceTest, OutputPositionAndExistingData) {
  std::string path = Path("pos.sres");
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    const char* key = (mode & 1) ? kKey : "";
    Save(path, Build({{"e", "XY"}, {"z", ""}}, key, (mode & 2) != 0));
    SResource resource;
    resource.SetKey(key);
    ASSERT_TRUE(resource.Open(path.c_str()));

    SFileMem out("abcdef");
    out.Seek(2);
    ASSERT_TRUE(resource.Load(&out, "e", false));
    EXPECT_EQ("abXYef", Bytes(out));
    EXPECT_EQ(4, out.Tell());
    out.Seek(5);
    ASSERT_TRUE(resource.Load(&out, "e", true));
    EXPECT_EQ("abXYeXY", Bytes(out));
    EXPECT_EQ(0, out.Tell());
    // An empty entry changes nothing.
    out.Seek(3);
    ASSERT_TRUE(resource.Load(&out, "z", false));
    EXPECT_EQ("abXYeXY", Bytes(out));
    EXPECT_EQ(3, out.Tell());

    // A disk file as output.
    SFilePath disk;
    ASSERT_TRUE(disk.Open(Path("out.bin").c_str(), true, true, true, false));
    disk.WriteText("1234");
    disk.Seek(1);
    ASSERT_TRUE(resource.Load(&disk, "e", false));
    EXPECT_EQ(3, disk.Tell());
    disk.Rewind();
    EXPECT_EQ(SString("1XY4"), disk.ReadString());
  }
}

TEST_F(SResourceTest, PathsAndStateErrors) {
  SResource resource;
  SFileMem out;
  EXPECT_FALSE(resource.Load(&out, "a", true));  // not opened
  EXPECT_FALSE(resource.Open(""));
  EXPECT_FALSE(resource.Open(nullptr));
  EXPECT_FALSE(resource.Open((m_folder.Path() + "\\").c_str()));  // a folder
  EXPECT_FALSE(resource.Open(Path("missing.sres").c_str()));
  EXPECT_FALSE(resource.Open("C:\\a*.sres"));
  EXPECT_EQ(SPath::KIND_UNSET, resource.GetPath().GetKind());

  std::string path = Path("state.sres");
  Save(path, Build({{"a", "aaaa"}, {"b", "bbbb"}}, "", false));
  ASSERT_TRUE(resource.Open(path.c_str()));
  EXPECT_FALSE(resource.Load(nullptr, "a", true));
  EXPECT_FALSE(resource.Load(&out, nullptr, true));

  // Every load opens the file again: a replaced archive is read as it is
  // now, and a vanished or shortened one fails.
  Save(path, Build({{"a", "AAAA"}, {"b", "BBBB"}}, "", false));
  EXPECT_EQ("AAAA", Load(resource, "a"));
  Save(path, Build({{"a", "A"}}, "", false));
  EXPECT_FALSE(Loads(resource, "b"));
  ASSERT_TRUE(::DeleteFileA(path.c_str()));
  EXPECT_FALSE(Loads(resource, "a"));

  resource.Close();
  EXPECT_EQ(0, resource.GetCount());
  EXPECT_EQ(SPath::KIND_UNSET, resource.GetPath().GetKind());
}

TEST_F(SResourceTest, DamagedArchivesNeverCrashTheReader) {
  std::vector<Entry> entries = {
      {"a.txt", Compressible(3000, 5)}, {"b.bin", Random(700, 6)}, {"c", ""}, {"d.txt", "dd"}};
  const std::string originals[] = {Build(entries, kKey, true), Build(entries, "", false),
                                   Build(entries, "", true)};
  std::string path = Path("fuzz.sres");
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
      case 2: {  // a length field, or any 4 bytes, set to an edge value
        size_t at = random() % (bytes.size() - 3);
        std::string v = U32(extremes[random() % 10]);
        bytes.replace(at, 4, v);
        break;
      }
      default: {  // bytes inserted or removed
        size_t at = random() % bytes.size();
        if (random() % 2) bytes.insert(at, Random(1 + random() % 16, random()));
        else bytes.erase(at, 1 + random() % 16);
        break;
      }
    }
    Save(path, bytes);
    SResource resource;
    resource.SetKey(round % 3 == 0 ? kKey : "");
    resource.Open(path.c_str());
    for (int i = 0; i < resource.GetCount(); ++i) {
      EXPECT_GE(resource.GetStoredSize(i), 0);
      EXPECT_LE(resource.GetOffset(i) + resource.GetStoredSize(i), int(bytes.size()));
      SFileMem out;
      resource.Load(&out, resource.GetName(i).GetText(), (i & 1) != 0);
    }
  }
}
