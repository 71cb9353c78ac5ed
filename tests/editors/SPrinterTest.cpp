#include "core/Platform.h"
#include "editors/SPrinter.h"

#include "core/SFileMem.h"
#include "editors/SPrinterPage.h"
#include "tests/editors/CodeEditTestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// A printer made of an enhanced-metafile context: 100 x 60 mm printable at
// 10 pixels per millimetre, with 4-mm unprintable strips on every side. Each
// page begins with a comment record; the document's end closes the metafile.
int g_dialogCalls = 0;
bool g_cancel = false;
int g_endDocResult = 1;
PRINTDLGA g_seenRecord;
HENHMETAFILE g_metafile = nullptr;
const char kPageMark[] = "page";

BOOL WINAPI FakePrintDialog(LPPRINTDLGA record) {
  ++g_dialogCalls;
  g_seenRecord = *record;
  if (g_cancel) return FALSE;
  record->hDC = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  return TRUE;
}

int WINAPI FakeStartDoc(HDC, const DOCINFOA* info) {
  return strcmp(info->lpszDocName, "VANDRO") == 0 ? 1 : 0;
}

int WINAPI FakeStartPage(HDC dc) {
  return ::GdiComment(dc, sizeof(kPageMark), reinterpret_cast<const BYTE*>(kPageMark));
}

int WINAPI FakeEndPage(HDC) { return 1; }

int WINAPI FakeEndDoc(HDC dc) {
  if (g_metafile) ::DeleteEnhMetaFile(g_metafile);
  g_metafile = ::CloseEnhMetaFile(dc);
  return g_endDocResult;
}

int WINAPI FakeDeviceCaps(HDC, int index) {
  switch (index) {
    case HORZRES:
      return 1000;
    case VERTRES:
      return 600;
    case HORZSIZE:
      return 100;
    case VERTSIZE:
      return 60;
    case PHYSICALWIDTH:
      return 1080;
    case PHYSICALHEIGHT:
      return 680;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
      return 40;
    default:
      return 96;
  }
}

const SPrinter::_SDevice kFakeDevice = {FakePrintDialog, FakeStartDoc, FakeStartPage,
                                        FakeEndPage,     FakeEndDoc,   FakeDeviceCaps};

struct Printed {
  std::string text;
  int x, y;
  int page;  // from 1
};

struct Collected {
  std::vector<Printed> items;
  int page = 0;
  std::vector<std::pair<std::string, int>> fonts;  // face and height of each font made
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* collected = reinterpret_cast<Collected*>(data);
  std::vector<Printed>* out = &collected->items;
  int& page = collected->page;
  if (record->iType == EMR_GDICOMMENT) {
    auto* r = reinterpret_cast<const EMRGDICOMMENT*>(record);
    if (r->cbData == sizeof(kPageMark) && memcmp(r->Data, kPageMark, r->cbData) == 0) ++page;
  } else if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
    const LOGFONTW& font =
        reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record)->elfw.elfLogFont;
    std::string face;
    for (int i = 0; i < LF_FACESIZE && font.lfFaceName[i]; ++i) face += char(font.lfFaceName[i]);
    collected->fonts.push_back({face, int(font.lfHeight)});
  } else if (record->iType == EMR_EXTTEXTOUTW) {
    auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const wchar_t* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                            r->emrtext.offString);
    std::string text;
    for (DWORD i = 0; i < r->emrtext.nChars; ++i) text += char(chars[i]);
    out->push_back({text, r->emrtext.ptlReference.x, r->emrtext.ptlReference.y, page});
  } else if (record->iType == EMR_EXTTEXTOUTA) {
    auto* r = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
    const char* chars =
        reinterpret_cast<const char*>(reinterpret_cast<const BYTE*>(record) + r->emrtext.offString);
    out->push_back({std::string(chars, r->emrtext.nChars), r->emrtext.ptlReference.x,
                    r->emrtext.ptlReference.y, page});
  }
  return 1;
}

class PrinterTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_dialogCalls = 0;
    g_cancel = false;
    g_endDocResult = 1;
    SPrinter::s_device = kFakeDevice;
  }
  void TearDown() override {
    SPrinter::s_device = SPrinter::SYSTEM_DEVICE;
    if (g_metafile) ::DeleteEnhMetaFile(g_metafile);
    g_metafile = nullptr;
  }

  // Prints the text with the editor's font and returns what reached the
  // metafile, in order.
  std::vector<Printed> Print(const char* text, bool* result, int fontSize = 9) {
    SFileMem file(text);
    SPrinter printer;
    printer.m_fontName = "courier new";
    printer.m_fontSize = fontSize;
    *result = printer.PrintText(&file);
    printer.End();
    Collected collected;
    if (g_metafile) ::EnumEnhMetaFile(nullptr, g_metafile, CollectText, &collected, nullptr);
    return collected.items;
  }
};

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

TEST_F(PrinterTest, TheDialogRecordMarginsAndPrintableRect) {
  bool result;
  std::vector<Printed> out = Print("x", &result);
  EXPECT_TRUE(result);
  EXPECT_EQ(1, g_dialogCalls);
  EXPECT_EQ(DWORD(0x4010C), g_seenRecord.Flags);
  EXPECT_EQ(0xFFFF, g_seenRecord.nFromPage);
  EXPECT_EQ(1, g_seenRecord.nMinPage);
  EXPECT_EQ(1, g_seenRecord.nCopies);
  ASSERT_EQ(1u, out.size());
  // 25 mm from the printable origin, which lies 4 mm inside the paper.
  EXPECT_TRUE(out[0].x == 250 && out[0].y == 250);
  SPrinter printer;
  ASSERT_TRUE(printer.Begin());
  RECT rect;
  printer.GetPrintableRect(&rect);
  EXPECT_TRUE(rect.right == 790 && rect.bottom == 390);  // 100 - 21 mm, 60 - 21 mm
  printer.m_unit = 2;
  RECT same;
  printer.GetPrintableRect(&same);
  EXPECT_EQ(rect.right, same.right);
  printer.End();
}

TEST_F(PrinterTest, EmptyFileCancelOrTallTextPrintsNothingAndFails) {
  bool result = true;
  EXPECT_TRUE(Print("", &result).empty());
  EXPECT_FALSE(result);
  EXPECT_EQ(0, g_dialogCalls);
  g_cancel = true;
  EXPECT_TRUE(Print("text", &result).empty());
  EXPECT_FALSE(result);
  SPrinter idle;
  EXPECT_FALSE(idle.End());
  g_cancel = false;
  result = true;
  Print("x\r\ny", &result, 400);
  EXPECT_FALSE(result);
}

TEST_F(PrinterTest, WrapsAtBlanksAndDropsOneSpace) {
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word" + std::to_string(i % 10) + " ";
  bool result;
  std::vector<Printed> out = Print(words.c_str(), &result);
  EXPECT_TRUE(result);
  ASSERT_GT(out.size(), 2u);
  std::string joined = out[0].text;
  for (size_t i = 0; i < out.size(); ++i) {
    EXPECT_NE(' ', out[i].text[0]) << i;
    EXPECT_EQ(250, out[i].x);
    if (i == 0) continue;
    EXPECT_GT(out[i].y, out[i - 1].y);
    // The single space of a wrap is dropped; a line that ended at a word
    // keeps its spaces.
    if (joined.back() != ' ') joined += " ";
    joined += out[i].text;
  }
  EXPECT_EQ(words, joined);
}

TEST_F(PrinterTest, PageBreaksLoseAndRepeatNothing) {
  std::string text;
  for (int i = 0; i < 8; ++i) text += "line" + std::to_string(i) + "\r\n";
  text += "\t\t";
  for (int i = 0; i < 120; ++i) text += "w" + std::to_string(i) + " ";
  text += "\r\n\r\nend";
  bool result;
  std::vector<Printed> out = Print(text.c_str(), &result);
  EXPECT_TRUE(result);
  std::string printed;
  for (size_t i = 0; i < out.size(); ++i) {
    printed += out[i].text;
    if (i == 0) continue;
    if (out[i].page == out[i - 1].page) {
      EXPECT_GT(out[i].y, out[i - 1].y);
    } else {
      EXPECT_EQ(250, out[i].y);
    }
  }
  EXPECT_GT(out.back().page, 1);
  EXPECT_EQ(WithoutBlanks(text), WithoutBlanks(printed));
}

TEST_F(PrinterTest, ManyEmptyLinesAtAPageEndStillPrint) {
  std::string text = "top";
  for (int i = 0; i < 40; ++i) text += "\r\n";
  text += "bottom";
  bool result;
  std::vector<Printed> out = Print(text.c_str(), &result);
  EXPECT_TRUE(result);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ("bottom", out.back().text);
}

TEST_F(CodeEditTest, PrintReportsTheJobsResult) {
  SPrinter::s_device = kFakeDevice;
  ASSERT_TRUE(Build("a\r\nb"));
  struct Row {
    bool cancel;
    int endDoc;
    bool result;
  } rows[] = {{false, 1, true}, {true, 1, false}, {false, 0, false}};
  // The printer's context measures fonts as a metafile's reference does.
  HDC reference = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  int ninePoints = -int(::GetDeviceCaps(reference, LOGPIXELSY) * 9 / 72.0 + 0.5);
  ::DeleteEnhMetaFile(::CloseEnhMetaFile(reference));
  for (const Row& row : rows) {
    g_cancel = row.cancel;
    g_endDocResult = row.endDoc;
    EXPECT_EQ(row.result, edit->PrintText());
    EXPECT_TRUE(::IsWindowEnabled(edit->m_hWnd));
    if (!row.result) continue;
    // The page got the editor's lines in their order, in 9-point courier new.
    Collected page;
    ASSERT_NE(nullptr, g_metafile);
    ::EnumEnhMetaFile(nullptr, g_metafile, CollectText, &page, nullptr);
    ASSERT_EQ(2u, page.items.size());
    EXPECT_EQ("a", page.items[0].text);
    EXPECT_EQ("b", page.items[1].text);
    EXPECT_LT(page.items[0].y, page.items[1].y);
    EXPECT_EQ(1, page.items[1].page);
    ASSERT_FALSE(page.fonts.empty());
    for (const auto& font : page.fonts) {
      EXPECT_EQ("courier new", font.first);
      EXPECT_EQ(ninePoints, font.second);
    }
  }
  SPrinter::s_device = SPrinter::SYSTEM_DEVICE;
  if (g_metafile) ::DeleteEnhMetaFile(g_metafile);
  g_metafile = nullptr;
}
