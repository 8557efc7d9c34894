// Opening a web page with the shell, as ShellExecuteW does. The program links
// the shell's own call; the loopback program and the test programs link a
// recorder instead, so that no browser starts and no address leaves the
// machine (app/links/).
#pragma once

#include <windows.h>
#include <shellapi.h>

HINSTANCE ShellOpenLink(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory,
                        INT nShowCmd);

// The same for a ShellExecuteExW request (the icon buttons' pages): the
// program hands it to the shell; the recorder notes verb, file, parameters,
// directory, show command and window, sets hInstApp and returns TRUE.
BOOL ShellExecuteLink(SHELLEXECUTEINFOW* pInfo);

// The file in the current directory where the recorder notes each call: one
// line of TAB-separated fields (operation, file, parameters, directory, show
// command, owner window in hexadecimal), CR LF at the end.
#define LINK_RECORD_FILE L"links.log"
