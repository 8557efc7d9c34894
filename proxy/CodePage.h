// Conversions between the wide text of files and controls and the 8-bit
// text the settings and proxy records keep.
#pragma once

#include "afx.h"

// Converts pszSource into the OEM code page when it fits nDestSize bytes
// with its NUL; otherwise, or when the conversion fails, leaves pszDest
// alone and returns false.
bool WideToOemBuffer(int nDestSize, const wchar_t* pszSource, char* pszDest);

// 8-bit text (ANSI code page) as text for a CTabStdioFile line: a character
// the one-byte file cannot hold becomes '?', so a line is never lost to it.
CString AnsiToFileText(const char* pszText);
