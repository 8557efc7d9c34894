// Reads and writes proxy list files, one TAB-separated proxy a line.
#include "proxy/ProxyFile.h"

#include "proxy/CodePage.h"
#include "proxy/Decimal.h"
#include "proxy/TabStdioFile.h"

#include <stdio.h>

namespace {
const int kHighestType = 3;

// Reads the five numbers after the address; false when the line does not
// hold exactly six fields.
bool ReadProxyNumbers(CTabStdioFile& file, int (&values)[5])
{
    TCHAR szField[TAB_LINE_SIZE];
    for (int i = 0; i < 5; ++i) {
        if (file.ReadField(szField, i == 4) == NULL)
            return false;
        values[i] = ParseDecimal(szField);
    }
    return true;
}

void WriteNumber(CTabStdioFile& file, int nValue, BOOL bEndOfLine)
{
    TCHAR szNumber[16];
    swprintf(szNumber, 16, L"%d", nValue);
    file.WriteField(szNumber, bEndOfLine);
}
}  // namespace

BOOL ReadProxyFile(CProxyList& list, LPCTSTR pszPath, BOOL bReplace)
{
    CTabStdioFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::typeText))
        return FALSE;
    if (bReplace)
        list.RemoveAll();

    TCHAR szAddress[TAB_LINE_SIZE];
    // An end of file, or a line of a single field such as an empty line,
    // ends the list.
    while (file.ReadField(szAddress, FALSE) != NULL) {
        char szIP[PROXY_IP_SIZE];
        int values[5];  // port, country, type, uptime, speed
        if (!WideToOemBuffer(sizeof(szIP), szAddress, szIP) || !ReadProxyNumbers(file, values)) {
            file.SkipLine();
            continue;
        }
        if (values[0] == 0 || values[2] > kHighestType)
            continue;
        CProxy proxy(szIP, values[0], values[1], values[2], values[3], values[4]);
        if (FindProxy(list, proxy) == NULL)
            list.AddTail(proxy);
    }
    file.Close();
    return TRUE;
}

BOOL WriteProxyFile(const CProxyList& list, LPCTSTR pszPath)
{
    CTabStdioFile file;
    if (!file.Open(pszPath, CFile::modeCreate | CFile::modeReadWrite | CFile::typeText))
        return FALSE;
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        const CProxy& proxy = list.GetNext(pos);
        file.WriteField(AnsiToFileText(proxy.m_szIP), FALSE);
        WriteNumber(file, proxy.m_nPort, FALSE);
        WriteNumber(file, proxy.m_nCountry, FALSE);
        WriteNumber(file, proxy.m_nType, FALSE);
        WriteNumber(file, proxy.m_nUptime, FALSE);
        WriteNumber(file, proxy.m_nSpeed, TRUE);
    }
    file.Close();
    return TRUE;
}
