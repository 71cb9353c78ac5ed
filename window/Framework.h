// Framework start-up and shutdown, and the process-wide variables they set.
//
// StartupFramework is the program's first call and ShutdownFramework its
// last; both run on the thread that runs the message loop. Every framework
// window, cursor, menu and dialog exists only between the two calls.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

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

HINSTANCE GetInstanceHandle();
// The folder of the program's first command-line argument, ending with "\".
SString GetProgramFolder();

// Splits a command line as start-up does: a backslash before a double quote
// stays a backslash (so "C:\folder\" keeps its last backslash and ends its
// quote). Returns the argument count; the folder of the first argument goes
// to programFolder (left alone when there is none).
int ParseCommandLine(const char* commandLine, SString* programFolder);

// Process-wide framework variables (zero, empty or null when not started).
extern HINSTANCE g_instance;
extern int g_showCommand;
extern unsigned int g_startupFlags;
extern bool g_winsockStarted;
extern ULONG_PTR g_gdiplusToken;
extern UINT g_findReplaceMessage;   // registered "commdlg_FindReplace"
extern int g_screenDepth;           // bits per pixel of the screen at start-up
extern HFONT g_messageFont;
extern HFONT g_menuFont;
extern HFONT g_statusFont;
extern HFONT g_captionFont;
extern HFONT g_smallCaptionFont;
extern HFONT g_defaultFont;         // the message font's face at 8 points
extern int g_argumentCount;
extern SString g_programFolder;
extern SString g_moduleFileName;    // with STARTUP_MODULE_NAME only
extern HMODULE g_richEditLibrary;   // "Riched20.dll", kept for the process's life
