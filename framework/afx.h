// Core of the framework: strings, collections, exceptions, files, threads
// and the application object. The window layer (afxwin.h) builds on this.
#pragma once

// Winsock 2 must come before windows.h, or windows.h pulls in the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tchar.h>

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef UNUSED_ALWAYS
#define UNUSED_ALWAYS(x) ((void)(x))
#endif

// String id of the application title in the string table (optional).
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif

class CWnd;

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxColl.h"
#include "AfxExcept.h"
#include "AfxFile.h"
#include "AfxSync.h"
#include "AfxThread.h"
#include "AfxApp.h"
