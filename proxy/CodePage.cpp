// Conversions between the wide text of files and controls and the 8-bit records.
#include "proxy/CodePage.h"

bool WideToOemBuffer(int nDestSize, const wchar_t* pszSource, char* pszDest)
{
    if (pszSource == nullptr || pszDest == nullptr || nDestSize <= 0)
        return false;
    return AfxWideToMultiByteBuffer(CP_OEMCP, nDestSize, pszSource, pszDest) != FALSE;
}

CString AnsiToFileText(const char* pszText)
{
    CString strText;
    if (pszText == nullptr || *pszText == '\0')
        return strText;
    const int nLength = MultiByteToWideChar(CP_ACP, 0, pszText, -1, NULL, 0);
    if (nLength <= 1)
        return strText;
    wchar_t* pBuffer = strText.GetBuffer(nLength);
    MultiByteToWideChar(CP_ACP, 0, pszText, -1, pBuffer, nLength);
    for (wchar_t* p = pBuffer; *p != L'\0'; ++p) {
        if (*p > 0xFF)
            *p = L'?';
    }
    strText.ReleaseBuffer();
    return strText;
}
