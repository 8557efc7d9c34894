// Numbers typed by the user or read from text files: a decimal integer taken
// from the leading digits, with leading blanks and a sign allowed; text
// without leading digits reads as 0. Values beyond the int range saturate
// instead of wrapping into a small, plausible number.
#pragma once

int ParseDecimal(const wchar_t* pszText);
int ParseDecimal(const char* pszText);

// The number of pszText when it lies in nMin..nMax (both included).
bool ParseDecimalInRange(const wchar_t* pszText, int nMin, int nMax, int& nValue);
