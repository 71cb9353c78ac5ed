// The framework's process-wide state: its variables, fonts and locale tables,
// the instance handle and the command line.
#include "core/Platform.h"
#include "window/Framework.h"

#include "core/PlatformGdiplus.h"
#include "core/SArray.h"
#include "core/SDll.h"
#include "core/SKeyboard.h"
#include "core/SPath.h"
#include "core/SRegistry.h"
#include "core/SUniString.h"
#include "core/TimeBase.h"
#include "window/WindowPrivate.h"

#include <dsound.h>
#include <xaudio2.h>

#include <math.h>
#include <stddef.h>

unsigned int g_startupFlags = 0;
bool g_winsockStarted = false;
ULONG_PTR g_gdiplusToken = 0;
UINT g_findReplaceMessage = 0;
int g_screenDepth = 0;
HFONT g_messageFont = nullptr;
HFONT g_smallCaptionFont = nullptr;
HFONT g_defaultFont = nullptr;
int g_argumentCount = 0;
SString g_moduleFileName;
SWndApp* g_appWindow = nullptr;
IDirectSound8* g_directSound = nullptr;
IXAudio27* g_xaudio2 = nullptr;
IXAudio27MasteringVoice* g_masteringVoice = nullptr;
DirectSoundCreateFunction g_directSoundCreate = DirectSoundCreate8;
DWORD g_directSoundRetryWait = 500;
SLocale g_locales[LOCALE_COUNT];

namespace {

// The framework's state that no other file reads: set by start-up, read
// through the accessors.
struct {
  HINSTANCE instance;
  HFONT menuFont, statusFont, captionFont;
  SString programFolder;
} g_state;

// The fixed name lists and the English and French records.
const char kEnglishDays[] = "Sunday,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday";
const char kEnglishMonths[] =
    "January,February,March,April,May,June,July,August,September,October,November,December";
const char kEnglishSeasons[] = "Spring,Summer,Autumn,Winter";

const struct {
  uint32_t variant;
  int32_t digits;
  char decimalSeparator;
  char thousandsSeparator;
  const char* days;
  const char* months;
  const char* seasons;
} kFixedLocales[] = {
    {0, 2, '.', ',', kEnglishDays, kEnglishMonths, kEnglishSeasons},
    {1, 2, ',', ' ', "Dimanche,Lundi,Mardi,Mercredi,Jeudi,Vendredi,Samedi",
     "Janvier,F\xE9vrier,Mars,Avril,Mai,Juin,Juillet,Ao\xFBt,Septembre,Octobre,Novembre,"
     "D\xE9" "cembre",
     "Printemps,Et\xE9,Automne,Hiver"},
};

void FillNames(SLocale* locale, const char* days, const char* months, const char* seasons) {
  memset(locale->dayNames, 0, sizeof(locale->dayNames));
  memset(locale->monthNames, 0, sizeof(locale->monthNames));
  memset(locale->seasonNames, 0, sizeof(locale->seasonNames));
  SplitCommaList(locale->dayNames, 7, days);
  SplitCommaList(locale->monthNames, 12, months);
  SplitCommaList(locale->seasonNames, 4, seasons);
}

void DeleteFont(HFONT* font) {
  if (*font) ::DeleteObject(*font);
  *font = nullptr;
}

}  // namespace

// The shared result string of the wide-to-8-bit conversion.
void EmptyConversionScratch() {
  const_cast<SString&>(SString::FromWide(nullptr)).Empty();
}


void CreateFrameworkFonts() {
  // The structure without its padded-border field, as every Windows version
  // accepts it.
  NONCLIENTMETRICSA metrics;
  memset(&metrics, 0, sizeof(metrics));
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  g_messageFont = ::CreateFontIndirectA(&metrics.lfMessageFont);
  g_state.menuFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
  g_state.statusFont = ::CreateFontIndirectA(&metrics.lfStatusFont);
  g_state.captionFont = ::CreateFontIndirectA(&metrics.lfCaptionFont);
  g_smallCaptionFont = ::CreateFontIndirectA(&metrics.lfSmCaptionFont);

  // 8 points, rounded to the nearest pixel with halves upward.
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  int height = static_cast<int>(floor(dpi * 8.0 / -72.0 + 0.5));
  g_defaultFont = ::CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                metrics.lfMessageFont.lfFaceName);
}

void DeleteFrameworkFonts() {
  DeleteFont(&g_messageFont);
  DeleteFont(&g_state.menuFont);
  DeleteFont(&g_state.statusFont);
  DeleteFont(&g_state.captionFont);
  DeleteFont(&g_smallCaptionFont);
  DeleteFont(&g_defaultFont);
}

void LoadLocaleTables() {
  const char* key = "Control Panel\\International";
  SRegistry registry;
  SString digits = registry.GetString(HKEY_CURRENT_USER, key, "iDigits");
  SString decimal = registry.GetString(HKEY_CURRENT_USER, key, "sDecimal");
  SString thousand = registry.GetString(HKEY_CURRENT_USER, key, "sThousand");

  SLocale& system = g_locales[0];
  system.index = 0;
  system.variant = 0;
  system.digits = atoi(digits.GetText() ? digits.GetText() : "");
  system.decimalSeparator = decimal.GetLength() > 0 ? decimal.GetText()[0] : '.';
  system.thousandsSeparator = thousand.GetLength() > 0 ? thousand.GetText()[0] : ',';
  FillNames(&system, kEnglishDays, kEnglishMonths, kEnglishSeasons);

  for (int i = 1; i < LOCALE_COUNT; ++i) {
    const auto& row = kFixedLocales[i - 1];
    SLocale& locale = g_locales[i];
    locale.index = static_cast<uint32_t>(i);
    locale.variant = row.variant;
    locale.digits = row.digits;
    locale.decimalSeparator = row.decimalSeparator;
    locale.thousandsSeparator = row.thousandsSeparator;
    FillNames(&locale, row.days, row.months, row.seasons);
  }
}

int PixelsToTwips(int pixels) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  if (dpi <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(pixels) * 1440 / dpi);
}

HINSTANCE GetInstanceHandle() {
  return g_state.instance;
}

SString GetProgramFolder() {
  return g_state.programFolder;
}

int ParseCommandLine(const char* commandLine, SString* programFolder) {
  SString text(commandLine);
  text.ReplaceAll("\\\"", "\\\\\"");
  SUniString wide(text.GetText());
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(wide.GetText() ? wide.GetText() : L"", &count);
  if (!arguments) return 0;
  if (count != 0 && programFolder) {
    SString first(arguments[0]);
    SPath path(first.GetText());
    *programFolder = path.GetFolderPath();
  }
  ::LocalFree(arguments);
  return count;
}

void SetInstanceHandle(HINSTANCE instance) {
  g_state.instance = instance;
}

void ReadCommandLine() {
  g_state.programFolder.Empty();
  const char* commandLine = ::GetCommandLineA();
  g_argumentCount = ParseCommandLine(commandLine ? commandLine : "", &g_state.programFolder);
}

void ForgetCommandLine() {
  g_state.programFolder.Empty();
}
