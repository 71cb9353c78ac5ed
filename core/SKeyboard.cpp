#include "core/Platform.h"
#include "core/SKeyboard.h"
#include "core/SStringArray.h"

namespace {

struct KeyNameRow {
  uint8_t code;
  const char* name;
};

const KeyNameRow kKeyNames[] = {
    {1, "LBUTTON"},    {2, "RBUTTON"},   {3, "CANCEL"},    {4, "MBUTTON"},   {8, "BACK"},
    {9, "TAB"},        {12, "CLEAR"},    {13, "RETURN"},   {16, "SHIFT"},    {17, "CONTROL"},
    {18, "MENU"},      {19, "PAUSE"},    {20, "CAPITAL"},  {27, "ESCAPE"},   {32, "SPACE"},
    {33, "PRIOR"},     {34, "NEXT"},     {35, "END"},      {36, "HOME"},     {37, "LEFT"},
    {38, "UP"},        {39, "RIGHT"},    {40, "DOWN"},     {41, "SELECT"},   {43, "EXECUTE"},
    {44, "SNAPSHOT"},  {45, "INSERT"},   {46, "DELETE"},   {47, "HELP"},
    {48, "0"},         {49, "1"},        {50, "2"},        {51, "3"},        {52, "4"},
    {53, "5"},         {54, "6"},        {55, "7"},        {56, "8"},        {57, "9"},
    {65, "A"},         {66, "B"},        {67, "C"},        {68, "D"},        {69, "E"},
    {70, "F"},         {71, "G"},        {72, "H"},        {73, "I"},        {74, "J"},
    {75, "K"},         {76, "L"},        {77, "M"},        {78, "N"},        {79, "O"},
    {80, "P"},         {81, "Q"},        {82, "R"},        {83, "S"},        {84, "T"},
    {85, "U"},         {86, "V"},        {87, "W"},        {88, "X"},        {89, "Y"},
    {90, "Z"},         {91, "LWIN"},     {92, "RWIN"},     {93, "APPS"},
    {96, "NUM0"},      {97, "NUM1"},     {98, "NUM2"},     {99, "NUM3"},     {100, "NUM4"},
    {101, "NUM5"},     {102, "NUM6"},    {103, "NUM7"},    {104, "NUM8"},    {105, "NUM9"},
    {106, "MULTIPLY"}, {107, "ADD"},     {108, "SEPARATOR"}, {109, "SUBTRACT"},
    {110, "DECIMAL"},  {111, "DIVIDE"},
    {112, "F1"},       {113, "F2"},      {114, "F3"},      {115, "F4"},      {116, "F5"},
    {117, "F6"},       {118, "F7"},      {119, "F8"},      {120, "F9"},      {121, "F10"},
    {122, "F11"},      {123, "F12"},     {124, "F13"},     {125, "F14"},     {126, "F15"},
    {127, "F16"},      {144, "NUMLOCK"}, {145, "SCROLL"},
    {246, "ATTN"},     {247, "CRSEL"},   {248, "EXSEL"},   {249, "EREOF"},   {250, "PLAY"},
    {251, "ZOOM"},     {253, "PA1"},
};

struct VersionRow {
  DWORD platform;
  DWORD major;
  DWORD minor;
  int code;
};

const VersionRow kVersions[] = {
    {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4},
    {VER_PLATFORM_WIN32_NT, 4, 0, 2},
    {VER_PLATFORM_WIN32_NT, 5, 0, 5},
    {VER_PLATFORM_WIN32_NT, 5, 1, 6},
    {VER_PLATFORM_WIN32_NT, 5, 2, 6},
    {VER_PLATFORM_WIN32_NT, 6, 0, 7},
    {VER_PLATFORM_WIN32_NT, 7, 0, 8},
};
const int kVersionFailed = 0;
const int kVersionOther = 255;

SStringArray& KeyNameTable() {
  static SStringArray table;
  return table;
}

}  // namespace

SKeyboard::SKeyboard() {
  if (KeyNameTable().GetCount() == 0) BuildKeyNames();
  memset(m_keyWords, 0, sizeof(m_keyWords));
  memset(m_keyHalfWords, 0, sizeof(m_keyHalfWords));
}

SKeyboard::~SKeyboard() {}

void SKeyboard::BuildKeyNames() {
  SStringArray& table = KeyNameTable();
  if (table.GetCount() != 0) return;
  table.Add("", -1, KEY_COUNT);
  for (const KeyNameRow& row : kKeyNames) table[row.code]->Set(row.name);
}

void SKeyboard::FreeKeyNames() { KeyNameTable().FreeBuffer(); }

const SStringArray& SKeyboard::GetKeyNames() { return KeyNameTable(); }

SString SKeyboard::GetKeyName(int code) {
  const SStringArray& table = KeyNameTable();
  if (code < 0 || code >= table.GetCount()) return SString("");
  return table.Get(code);
}

int SKeyboard::FindKeyCode(const char* name) {
  if (!name || !*name) return -1;
  return KeyNameTable().Find(name, 0, -1);
}

int GetModifierKeys() {
  int keys = 0;
  if (GetAsyncKeyState(VK_SHIFT) & 0x8000) keys |= 1;
  if (GetAsyncKeyState(VK_CONTROL) & 0x8000) keys |= 2;
  return keys;
}

int WindowsVersionCodeOf(DWORD platform, DWORD major, DWORD minor) {
  for (const VersionRow& row : kVersions) {
    if (row.platform == platform && row.major == major && row.minor == minor) return row.code;
  }
  return kVersionOther;
}

int GetWindowsVersionCode() {
  OSVERSIONINFOA info;
  memset(&info, 0, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return kVersionFailed;
  return WindowsVersionCodeOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

void GetWorkArea(RECT* out) {
  RECT area;
  memset(&area, 0, sizeof(area));
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) memset(&area, 0, sizeof(area));
  if (out) *out = area;
}
