// Opening a web page with the shell, as ShellExecuteW does. The program links
// the shell's own call; the loopback program and the test programs link a
// recorder instead, so that no browser starts and no address leaves the
// machine (app/links/).
#pragma once

#include <windows.h>

HINSTANCE ShellOpenLink(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                        LPCWSTR lpDirectory, INT nShowCmd);

// The file in the current directory where the recorder notes each call: one
// line of TAB-separated fields (operation, file, parameters, directory, show
// command, owner window in hexadecimal), CR LF at the end.
#define LINK_RECORD_FILE L"links.log"
