// Text file of lines whose fields are separated by TAB: the settings file,
// the country table and the proxy list files are read and written with it.
// Lines hold at most TAB_LINE_MAX characters (their newline included) and at
// most TAB_MAX_FIELDS fields.
#pragma once

#include "afx.h"

#define TAB_LINE_SIZE 256                 // a line or field buffer with its NUL
#define TAB_LINE_MAX (TAB_LINE_SIZE - 1)  // characters of one line, newline included
#define TAB_MAX_FIELDS 10

// A character that no field may hold: the C0 controls and DEL.
bool IsFieldControl(TCHAR ch);

class CTabStdioFile : public CStdioFile
{
public:
    CTabStdioFile();

    // Reads the next line and splits it into fields; false at the end of
    // the file, with the current fields left as they were.
    BOOL ReadLine();

    // Hands out the next field into pszBuffer (TAB_LINE_SIZE characters)
    // when it is the last of its line (bLast) or is not (!bLast); otherwise,
    // or at the end of the file, returns NULL and the field stays next.
    LPCTSTR ReadField(LPTSTR pszBuffer, BOOL bLast);

    // True when the next unread field equals pszText exactly.
    BOOL IsNextField(LPCTSTR pszText);

    // Adds pszText to the output line, followed by a TAB or, with
    // bEndOfLine, by the line end, which writes the line out. Control
    // characters of the text are written as spaces.
    void WriteField(LPCTSTR pszText, BOOL bEndOfLine);

    // True when a field is left to read (reading the next line if needed);
    // bLast then tells whether it ends its line. Nothing is consumed.
    BOOL PeekField(BOOL& bLast);

    // Drops the unread fields of the current line.
    void SkipLine() { m_nCurField = m_nFieldCount; }

    UINT m_nFieldCount;
    UINT m_nCurField;
    TCHAR m_szFields[TAB_MAX_FIELDS][TAB_LINE_SIZE];
    TCHAR m_szLine[TAB_LINE_SIZE];

private:
    BOOL HasUnreadField();
};
