#include "core/Platform.h"
#include "editors/STable.h"

#include "TableTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool LoadBytes(STable* table, const std::string& bytes) {
  SFileMem file;
  WriteBytes(&file, bytes);
  return table->Load(&file);
}

bool LoadRecords(STable* table, const std::vector<std::string>& records) {
  return LoadBytes(table, JoinRecords(records));
}

void ExpectEmpty(const STable& table) {
  EXPECT_EQ(0, table.GetFieldCount());
  EXPECT_EQ(0, table.GetRowCount());
  EXPECT_EQ(0, table.RowAttributes.GetCount());
  EXPECT_EQ("", Text(table.Text1));
}

// Every array has the row count's length; names are trimmed, unique and no
// integer texts.
void ExpectConsistent(const STable& table) {
  int rows = table.GetRowCount();
  ASSERT_EQ(rows, table.RowAttributes.GetCount());
  for (int i = 0; i < table.GetFieldCount(); ++i) {
    const STable::_SField* f = table.Fields[i];
    ASSERT_EQ(rows, f->Values.GetCount());
    ASSERT_EQ(rows, f->CellExtras.GetCount());
    ASSERT_EQ(rows, f->CellAttributes.GetCount());
    SString name = f->Name;
    if (name.GetLength() == 0) continue;
    EXPECT_FALSE(name.IsInteger());
    EXPECT_NE(' ', name.GetAt(0));
    EXPECT_EQ(i, table.FindFieldByName(name.GetText()));
  }
}

TEST(STable, FileRoundTripsEveryText) {
  TableDescription d;
  d.text1 = "first\r\ntext";
  d.text2 = "second";
  d.fields = {{"Name", "x1", "title=The name;width=120"}, {"", "x2", ""}, {"Price", "", "width=0"}};
  for (int r = 0; r < 4; ++r) {
    TableRow row{"row" + std::to_string(r), "height=" + std::to_string(20 + r), {}};
    for (int c = 0; c < 3; ++c) {
      row.cells.push_back({"v" + std::to_string(c) + ";" + std::to_string(r) + "\n",
                           "e" + std::to_string(c), "backcolor=#00FF00;halign=right"});
    }
    d.rows.push_back(row);
  }
  STable table;
  ASSERT_TRUE(LoadRecords(&table, d.Records()));
  ExpectConsistent(table);
  EXPECT_EQ(d.text1, Text(table.Text1));
  EXPECT_EQ(d.text2, Text(table.Text2));
  ASSERT_EQ(3, table.GetFieldCount());
  ASSERT_EQ(4, table.GetRowCount());
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(d.fields[c].name, Text(table.Fields[c]->Name));
    EXPECT_EQ(d.fields[c].extra, Text(table.Fields[c]->Extra));
    EXPECT_EQ(d.fields[c].attributes, Text(table.Fields[c]->Attributes));
  }
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(d.rows[r].extra, Text(table.RowExtras.Get(r)));
    EXPECT_EQ(d.rows[r].attributes, Text(table.RowAttributes.Get(r)));
    for (int c = 0; c < 3; ++c) {
      const TableCell& cell = d.rows[r].cells[c];
      EXPECT_EQ(cell.value, Text(table.Fields[c]->Values.Get(r)));
      EXPECT_EQ(cell.extra, Text(table.Fields[c]->CellExtras.Get(r)));
      EXPECT_EQ(cell.attributes, Text(table.Fields[c]->CellAttributes.Get(r)));
    }
  }
  EXPECT_EQ("120", Text(table.GetFieldAttribute("0", "WIDTH")));
  EXPECT_EQ("The name", Text(table.GetFieldAttribute("name", "title")));
  EXPECT_EQ("23", Text(table.GetRowHeight(3)));
  EXPECT_EQ("", Text(table.GetRowHeight(4)));
}

TEST(STable, LoadsWhatTheFileHolds) {
  std::string head = JoinRecords({"VANDRO TABLE 1.0.0.0", "0", "5", "", ""});
  STable table;
  // Five rows of no fields: ten empty records.
  ASSERT_TRUE(LoadBytes(&table, head + std::string(10, '\0')));
  EXPECT_EQ(0, table.GetFieldCount());
  EXPECT_EQ(5, table.GetRowCount());
  EXPECT_EQ(5, table.RowAttributes.GetCount());

  // Blanks around a name go; a file that ends early gives empty texts; the
  // counts read as decimal numbers up to the first other character.
  ASSERT_TRUE(LoadRecords(&table, {"VANDRO TABLE 1.0.0.0", " 2x", "+1", "t", "u", " \tPrice ", "",
                                   "", "B", "", "", "r0", "", "12.5"}));
  ExpectConsistent(table);
  EXPECT_EQ("Price", Text(table.Fields[0]->Name));
  EXPECT_EQ("12.5", Text(table.Fields[0]->Values.Get(0)));
  EXPECT_EQ("", Text(table.Fields[1]->Values.Get(0)));
  EXPECT_EQ(1, table.GetRowCount());
}

TEST(STable, RefusedFilesLeaveAnEmptyTable) {
  const std::string ok = "VANDRO TABLE 1.0.0.0";
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"wrong magic", JoinRecords({"VANDRO TABLE 1.0.0.1", "0", "0", "", ""})},
      {"magic in other case", JoinRecords({"vandro table 1.0.0.0", "0", "0", "", ""})},
      {"negative field count", JoinRecords({ok, "-1", "0", "", ""})},
      {"negative row count", JoinRecords({ok, "0", "-2", "", ""})},
      {"integer name", JoinRecords({ok, "1", "0", "", "", "3", "", ""})},
      {"negative integer name", JoinRecords({ok, "1", "0", "", "", "-1", "", ""})},
      {"duplicate name", JoinRecords({ok, "2", "0", "", "", " Price", "", "", "price", "", ""})},
      {"rows beyond the file", JoinRecords({ok, "0", "100000", "", ""})},
      {"fields beyond the file", JoinRecords({ok, "50000", "0", "", ""}) + std::string(1000, 'a')},
      {"huge counts", JoinRecords({ok, "2147483647", "2147483647", "", ""})},
      {"counts past int", JoinRecords({ok, "99999999999999999999", "3", "", ""})},
      // 4,500,003 records, all in the file, more than a table may hold.
      {"too many records", JoinRecords({ok, "1", "900000", "", ""}) + std::string(4600000, '\0')},
  };
  for (const Case& c : cases) {
    STable table;
    ASSERT_TRUE(LoadRecords(&table, GridTable(2, 2).Records()));
    EXPECT_FALSE(LoadBytes(&table, c.bytes)) << c.what;
    ExpectEmpty(table);
  }
  STable table;
  ASSERT_TRUE(LoadRecords(&table, GridTable(2, 2).Records()));
  EXPECT_FALSE(table.Load(nullptr));
  EXPECT_EQ(2, table.GetRowCount());
}

// Mutated table files either load into a consistent table or leave it empty.
TEST(STable, MutatedFilesLoadConsistentlyOrNotAtAll) {
  TableDescription d = GridTable(3, 4);
  d.fields[1].attributes = "title=\"a;b\";width=50";
  d.rows[2].cells[1].attributes = "backcolor=#FF0000";
  const std::string base = JoinRecords(d.Records());
  const char kBytes[] = {'\0', '0', '9', '-', ' ', ';', '"', '=', 'a', 'A'};
  std::mt19937 random(1234);
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string bytes = base;
    int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0:
          bytes[at] = kBytes[random() % sizeof(kBytes)];
          break;
        case 1:
          bytes.insert(at, 1, kBytes[random() % sizeof(kBytes)]);
          break;
        case 2:
          bytes.erase(at, 1 + random() % 8);
          break;
        case 3:
          bytes.resize(at);
          break;
      }
    }
    STable table;
    if (LoadBytes(&table, bytes)) {
      ++loaded;
      ExpectConsistent(table);
    } else {
      ExpectEmpty(table);
    }
    if (::testing::Test::HasFailure()) FAIL() << "mutation " << i;
  }
  EXPECT_GT(loaded, 100);
}

TEST(STable, FieldsByIndexOrNameAndRowsInEveryArray) {
  STable table;
  EXPECT_EQ(0, table.AddField(" Name\t", -1));
  EXPECT_EQ(1, table.AddField(nullptr, 7));
  EXPECT_EQ(0, table.AddField("First", 0));
  EXPECT_EQ(3, table.AddField("", -1));
  EXPECT_EQ(-1, table.AddField("NAME", -1));
  EXPECT_EQ(-1, table.AddField("12", -1));
  EXPECT_EQ(4, table.GetFieldCount());
  struct Case {
    const char* text;
    int index;
  } cases[] = {{"1", 1},    {"0", 0},     {"4", -1},     {"-1", -1},   {"", -1},
               {"name", 1}, {"FIRST", 0}, {"other", -1}, {nullptr, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(c.index, table.FindField(c.text)) << (c.text ? c.text : "null");
  table.Clear();
  table.AddField("a", -1);
  for (int i = 0; i < 3; ++i) table.InsertRow(-1);
  EXPECT_EQ(3, table.InsertRow(-1));
  table.DeleteRow(3);
  EXPECT_EQ(3, table.InsertRow(999));
  table.Fields[0]->Values[1]->Set("one");
  EXPECT_EQ(1, table.InsertRow(1));
  EXPECT_EQ("one", Text(table.Fields[0]->Values.Get(2)));
  table.DeleteRow(-1);
  table.DeleteRow(5);
  EXPECT_EQ(5, table.GetRowCount());
  table.DeleteRow(0);
  EXPECT_EQ("one", Text(table.Fields[0]->Values.Get(1)));
  // A field added later gets one empty value per row.
  table.AddField("b", -1);
  ExpectConsistent(table);
  table.Clear();
  ExpectEmpty(table);
}

TEST(STable, AttributeLookupAndSetting) {
  struct Case {
    const char* text;
    const char* key;
    const char* value;
  } cases[] = {
      {"a=1=2", "A", "1=2"},
      {"b", "a", ""},
      {"x=1;X=2", "x", "1"},
      {"x=\"1;2\";y=3", "x", "\"1;2\""},
      {"x=\"1;2\";y=3", "y", "3"},
      // A quote that is never closed keeps the items after it apart.
      {"title=\"A;width=50", "width", "50"},
      {"title=\"A;width=50", "title", "\"A"},
      {"a=\"1;2\";b=\"x;c=3", "c", "3"},
      {"a=\"1;2\";b=\"x;c=3", "a", "\"1;2\""},
      {"a=1", nullptr, ""},
      {nullptr, "a", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value, Text(STable::GetAttribute(c.text, c.key)))
        << (c.text ? c.text : "null") << " / " << (c.key ? c.key : "null");
  }
  struct SetCase {
    const char* text;
    const char* key;
    const char* value;
    const char* result;
  } sets[] = {
      {"Title=A;width=0", "title", "B", "Title=B;width=0"},
      {"", "width", "80", "width=80"},
      {nullptr, "width", "80", "width=80"},
      {"a=1", "b", "", "a=1;b="},
      {"a=1;a=2", "A", "3", "a=3;a=2"},
      {"a=1", "2x", "5", "a=1"},
      {"a=1", "b", "a;b", "a=1"},
      {"a=1", "b", "5\"", "a=1"},
      {"a=1", "b", "\"q;r\"", "a=1"},
      {"a=1", "b", "\"q\"", "a=1;b=\"q\""},
      {"title=\"A;width=50", "width", "80", "title=\"A;width=80"},
      {"title=\"A;width=50", "height", "9", "title=\"A;width=50;height=9"},
  };
  for (const SetCase& c : sets) {
    EXPECT_EQ(c.result, Text(STable::SetAttributeText(c.text, c.key, c.value)))
        << (c.text ? c.text : "null") << " / " << c.key << " / " << c.value;
  }
  SString text("title=\"A;width=50");
  STable::SetAttribute(text, "width", "80");
  EXPECT_EQ("80", Text(STable::GetAttribute(text.GetText(), "width")));
  EXPECT_EQ("\"A", Text(STable::GetAttribute(text.GetText(), "title")));
}

}  // namespace

TEST(STable, LoadedAndLaterStringsAllGoWithClearAndReload) {
  TableDescription d = GridTable(3, 500);
  d.rows[10].cells[1].attributes = std::string(400, 'a') + "=1";  // a buffer above the slots
  STable table;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(LoadRecords(&table, d.Records())) << round;
    // Edits mix strings made after loading with the loaded ones: rows and a
    // field added, texts that outgrow their buffers, rows deleted.
    table.InsertRow(3);
    table.InsertRow(-1);
    ASSERT_GE(table.AddField("Added", 1), 0);
    *table.Fields[0]->Values[7] = std::string(90, 'g').c_str();
    table.Fields[2]->CellExtras[20]->Set("grown past its first buffer");
    table.DeleteRow(0);
    table.DeleteRow(100);
    ExpectConsistent(table);
    EXPECT_EQ(500, table.GetRowCount());
    EXPECT_EQ(std::string(90, 'g'), Text(table.Fields[0]->Values.Get(6)));
    EXPECT_EQ("2:9", Text(table.Fields[3]->Values.Get(9)));
    EXPECT_EQ(std::string(400, 'a') + "=1", Text(table.Fields[2]->CellAttributes.Get(10)));
    table.Clear();
    ExpectEmpty(table);
  }
  // Destroyed while loaded and edited.
  STable other;
  ASSERT_TRUE(LoadRecords(&other, d.Records()));
  other.InsertRow(0);
}
