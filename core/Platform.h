// The one place that includes the Windows headers. Every source file of the
// project includes this header first, so that every file sees the same A/W
// macros (SendMessage, DeleteFile, GetObject...) and framework members with
// such names are renamed consistently. A call to the Win32 function of the
// same name inside a class is written with "::".
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <mmsystem.h>

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <stdio.h>

// min and max for code that includes GDI+ headers: std's versions are made
// visible inside the Gdiplus namespace by PlatformGdiplus.h, never as macros.
