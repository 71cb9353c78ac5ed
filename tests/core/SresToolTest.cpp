#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "tests/core/CoreTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const char kKey[] = "Zq8RkT2mWx4LbN7cVd1FgH5jKp3sYt9uEa6oPi0wQe2rTy4uIo6pAs8dFg1hJk3lZxCv5B";

// The lines of a text, without their CR.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

struct Result {
  DWORD code = 0xFFFFFFFF;
  std::string out, err;
};

class SresToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* folder : {"in", "in\\sub", "in\\sub\\deep"}) m_tree.MakeFolder(folder);
    m_files = {{"a.txt", "alpha\r\nbeta\r\n"},
               {"empty.dat", ""},
               {"sub\\b.bin", Noise(200000, 7)},
               {"sub\\deep\\c.txt", std::string(50000, 'c') + "end"}};
    for (const auto& file : m_files) m_tree.Write("in\\" + file.first, file.second);
    m_tree.Write("key.txt", std::string(kKey) + "\r\n");
  }

  // Runs the tool in the tree's folder with the arguments. The build gives
  // a Unix path, reached through the drive that maps the file system's root.
  Result Run(const std::string& arguments) {
    std::string tool = SRES_TOOL_PATH;
    for (char& c : tool) c = c == '/' ? '\\' : c;
    if (tool[0] == '\\') tool = "Z:" + tool;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    std::string outPath = m_tree.File("stdout.txt"), errPath = m_tree.File("stderr.txt");
    auto create = [&](const std::string& path) {
      return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = create(outPath);
    startup.hStdError = create(errPath);
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + tool + "\" " + arguments;
    BOOL started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                    m_tree.Path().c_str(), &startup, &process);
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    EXPECT_TRUE(started) << command;
    Result result;
    if (started) {
      ::WaitForSingleObject(process.hProcess, INFINITE);
      ::GetExitCodeProcess(process.hProcess, &result.code);
      ::CloseHandle(process.hThread);
      ::CloseHandle(process.hProcess);
    }
    result.out = FileBytes(outPath);
    result.err = FileBytes(errPath);
    return result;
  }

  // The listing of the packed tree: one line of name, tab and size per file.
  std::vector<std::string> Listing() const {
    std::vector<std::string> lines;
    for (const auto& file : m_files)
      lines.push_back(file.first + "\t" + std::to_string(file.second.size()));
    return lines;
  }

  TempFolder m_tree;
  std::vector<std::pair<std::string, std::string>> m_files;
};

}  // namespace

TEST_F(SresToolTest, PacksListsAndExtracts) {
  // Keyed and compressed, then plain; the second run finds the first run's
  // archive in the folder it packs and leaves it out.
  for (const char* options : {" --key-file key.txt --compress", ""}) {
    SCOPED_TRACE(options);
    std::string keyOption = *options ? " --key-file key.txt" : "";
    // The archive's name spelled otherwise is the same file.
    for (const char* archive : {"in\\arc.sres in\\", "IN\\SUB\\..\\ARC.SRES in"}) {
      Result pack = Run(std::string("pack ") + archive + options);
      ASSERT_EQ(0u, pack.code) << pack.err;
      EXPECT_EQ("", pack.err);
    }
    Result list = Run("list in\\arc.sres" + keyOption);
    ASSERT_EQ(0u, list.code) << list.err;
    EXPECT_EQ(Listing(), Lines(list.out));
    for (const auto& file : m_files) {
      Result extract = Run("extract in\\arc.sres \"" + file.first + "\" out.bin" + keyOption);
      ASSERT_EQ(0u, extract.code) << extract.err;
      EXPECT_TRUE(FileBytes(m_tree.File("out.bin")) == file.second) << file.first;
    }
    // Names ignore case in the tool too.
    ASSERT_EQ(0u, Run("extract in\\arc.sres A.TXT upper.txt" + keyOption).code);
    EXPECT_EQ(m_files[0].second, FileBytes(m_tree.File("upper.txt")));

    // The archive is what the reader takes, with the key text of the file.
    SResource resource;
    resource.SetKey(*options ? kKey : "");
    ASSERT_TRUE(resource.Open(m_tree.File("in\\arc.sres").c_str()));
    EXPECT_EQ(*options != 0, resource.IsCompressed());
    SFileMem out;
    ASSERT_TRUE(resource.Load(&out, "SUB\\DEEP\\C.TXT", true));
    EXPECT_EQ(50003, out.GetSize());
  }
  // Without key and compression the entries lie in the file as they are.
  EXPECT_NE(std::string::npos, FileBytes(m_tree.File("in\\arc.sres")).find("alpha\r\nbeta\r\n"));
}

TEST_F(SresToolTest, FailuresExitWithOneLine) {
  ASSERT_EQ(0u, Run("pack arc.sres in --key-file key.txt --compress").code);
  m_tree.Write("empty-key.txt", "\r\n");
  m_tree.Write("wrong-key.txt", "wrong");
  const char* failing[] = {
      "extract arc.sres nothing.txt out.bin --key-file key.txt",
      "extract arc.sres a.txt out.bin --key-file wrong-key.txt",
      "list arc.sres",  // compressed entries need the key
      "list missing.sres",
      "list key.txt",
      "pack new.sres no-such-folder",
      "pack new.sres in --key-file missing-key.txt",
      "pack new.sres in --key-file empty-key.txt",
      "",  // usage errors
      "unpack arc.sres",
      "list a b",
      "list arc.sres --key-file",
  };
  for (const char* arguments : failing) {
    Result result = Run(arguments);
    EXPECT_NE(0u, result.code) << arguments;
    EXPECT_EQ(1u, Lines(result.err).size()) << arguments << ": " << result.err;
  }
  EXPECT_EQ(0xFFFFFFFFu, ::GetFileAttributesA(m_tree.File("new.sres").c_str()));
  EXPECT_EQ(0xFFFFFFFFu, ::GetFileAttributesA(m_tree.File("out.bin").c_str()));
}
