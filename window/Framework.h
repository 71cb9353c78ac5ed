// Framework start-up and shutdown, and the process-wide variables they set.
//
// StartupFramework is the program's first call and ShutdownFramework its
// last; both run on the thread that runs the message loop. Every framework
// window, cursor, menu and dialog exists only between the two calls.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/Utility.h"

#include <stdint.h>

class SWndApp;
struct IDirectSound8;
struct IXAudio27;
struct IXAudio27MasteringVoice;

// Start-up flags.
enum : unsigned int {
  STARTUP_WINSOCK = 1,       // WinSock 2.2
  STARTUP_DIRECTSOUND = 2,   // a DirectSound object
  STARTUP_XAUDIO2 = 4,       // an XAudio2 engine with a mastering voice
  STARTUP_MODULE_NAME = 8,   // keep the module file name; leave COM alone
  STARTUP_LIST_CONTROLS = 16 // the dialog designer lists registered ActiveX controls
};

// Stores the instance, show command and flags, runs InitFramework, then
// starts GDI+ and the services the flags ask for. Never fails as a whole: a
// service that cannot start is absent.
void StartupFramework(HINSTANCE instance, int showCommand, unsigned int flags);
// Releases everything StartupFramework built.
void ShutdownFramework();
// The inner halves of the two calls.
void InitFramework();
void CleanupFramework();

// DirectSound on the default device with the priority level for the
// application window; the object stays null when it cannot be made. A busy
// or missing device is tried again after a wait, at most 10 calls.
void CreateDirectSound();
// The XAudio2 2.7 engine and a mastering voice on the first device with the
// default-game role (else device 0). False without COM, engine or voice; with
// no audio device the engine is kept without a voice.
bool CreateXAudio2();
// The device CreateXAudio2 chooses from the devices' roles (XAUDIO2_DEVICE_ROLE
// bits): the first default game device, else device 0.
uint32_t ChooseAudioDevice(const uint32_t* roles, uint32_t count);
// The system record from "Control Panel\International" of the current user,
// and the fixed English and French records.
void LoadLocaleTables();

HINSTANCE GetInstanceHandle();
// The folder of the program's first command-line argument, ending with "\".
SString GetProgramFolder();
// Loads both icons from the module's resources and gives them to the
// framework window classes.
void SetApplicationIcons(WORD largeIcon, WORD smallIcon);
// Sets the large and small class icons of "VANDRO" and "VANDRO2".
void SetClassIcons(HICON largeIcon, HICON smallIcon);
// pixels x 1440 / the screen's vertical dots per inch, truncated.
int PixelsToTwips(int pixels);

// Splits a command line as start-up does: a backslash before a double quote
// stays a backslash (so "C:\folder\" keeps its last backslash and ends its
// quote). Returns the argument count; the folder of the first argument goes
// to programFolder (left alone when there is none).
int ParseCommandLine(const char* commandLine, SString* programFolder);

// Process-wide framework variables that other files read (zero, empty or null
// when not started); the rest of the state is reached through the functions
// above.
extern unsigned int g_startupFlags;
extern bool g_winsockStarted;
extern ULONG_PTR g_gdiplusToken;
extern UINT g_findReplaceMessage;   // registered "commdlg_FindReplace"
extern int g_screenDepth;           // bits per pixel of the screen at start-up
extern HFONT g_messageFont;
extern HFONT g_smallCaptionFont;
extern HFONT g_defaultFont;         // the message font's face at 8 points
extern int g_argumentCount;
extern SString g_moduleFileName;    // with STARTUP_MODULE_NAME only
extern SWndApp* g_appWindow;        // the hidden application window
extern IDirectSound8* g_directSound;                // flag 2, when it could be made
extern IXAudio27* g_xaudio2;                        // flag 4, when it could be made
extern IXAudio27MasteringVoice* g_masteringVoice;   // with the engine, when a device exists

// Seams of the DirectSound creation for tests: the creating function and the
// wait after a busy or missing device (milliseconds of busy waiting).
typedef HRESULT(WINAPI* DirectSoundCreateFunction)(const GUID* device, IDirectSound8** object,
                                                    IUnknown* outer);
extern DirectSoundCreateFunction g_directSoundCreate;
extern DWORD g_directSoundRetryWait;

// A locale record: 0 the system's, 1 English, 2 French.
enum { LOCALE_COUNT = 3 };
struct SLocale {
  uint32_t index;
  uint32_t variant;            // 1 for French
  int32_t digits;              // decimal digits
  char decimalSeparator;
  char thousandsSeparator;
  SNameCell dayNames[7];       // Sunday first
  SNameCell monthNames[12];    // January first
  SNameCell seasonNames[4];    // Spring first
};
extern SLocale g_locales[LOCALE_COUNT];
