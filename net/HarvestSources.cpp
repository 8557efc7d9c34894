// Reads the two lists of harvest sources under AdminFile.
#include "net/HarvestSources.h"

#include "proxy/TabStdioFile.h"

#include <wchar.h>

namespace {
const wchar_t kFileNameMarker[] = L"FileName:";

bool OpenList(CTabStdioFile& file, LPCWSTR pszPath)
{
    return file.Open(pszPath, CFile::modeRead | CFile::typeText) != FALSE;
}

void AddSite(CWebSiteList& sites, LPCWSTR pszHost, LPCWSTR pszPath)
{
    CWebSite site(pszHost, pszPath);
    sites.AddTail(site);
}
}  // namespace

bool ReadWebSiteList(LPCWSTR pszPath, CWebSiteList& sites)
{
    CTabStdioFile file;
    if (!OpenList(file, pszPath))
        return false;
    try {
        TCHAR szHost[TAB_LINE_SIZE];
        TCHAR szField[TAB_LINE_SIZE];
        TCHAR szPath[TAB_LINE_SIZE];
        // A first field that ends its line (or the end of the file) ends
        // the list.
        while (file.ReadField(szHost, FALSE) != NULL) {
            // Every field but the last is the host in turn.
            while (file.ReadField(szField, FALSE) != NULL)
                wcscpy(szHost, szField);
            if (file.ReadField(szPath, TRUE) == NULL)
                break;
            if (wcslen(szHost) >= WEBSITE_TEXT_SIZE || wcslen(szPath) >= WEBSITE_TEXT_SIZE)
                break;
            AddSite(sites, szHost, szPath);
        }
    } catch (CException* e) {
        // A read error ends the list where it happened.
        e->Delete();
    }
    return true;
}

bool ReadPageFileList(LPCWSTR pszPath, CWebSiteList& sites)
{
    CTabStdioFile file;
    if (!OpenList(file, pszPath))
        return false;
    try {
        TCHAR szLine[TAB_LINE_SIZE];
        TCHAR szPath[TAB_LINE_SIZE];
        while (file.ReadField(szLine, TRUE) != NULL) {
            if (wcscmp(szLine, kFileNameMarker) != 0)
                continue;
            if (file.ReadField(szPath, TRUE) == NULL)
                break;
            AddSite(sites, L"", szPath);
        }
    } catch (CException* e) {
        e->Delete();
    }
    return true;
}
