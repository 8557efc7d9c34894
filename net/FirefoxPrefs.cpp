// Reading and rewriting the "network.proxy.type" preference of prefs.js.
#include "net/FirefoxProxy.h"

#include <wchar.h>

#include <string>

namespace {

const wchar_t kProxyTypeKey[] = L"network.proxy.type";
const wchar_t kDirectLine[] = L"user_pref(\"network.proxy.type\", 0);";

// One whole line with its '\n' when it has one; false at the end of the file.
// Lines are taken whole however long they are, so that a dropped line never
// leaves a fragment behind and a key is never split between two pieces.
bool ReadWholeLine(CStdioFile& file, std::wstring& line)
{
    line.clear();
    wchar_t piece[256];
    while (file.ReadString(piece, 256)) {
        line += piece;
        if (!line.empty() && line.back() == L'\n')
            break;
    }
    return !line.empty();
}

// A half-written prefs.js would lose the user's preferences: the backup
// holds the file as it was.
void RestoreBackup(CStdioFile& prefsOut, CStdioFile& backup, const std::wstring& backupPath, const CFirefoxPaths& paths)
{
    prefsOut.Abort();
    backup.Abort();
    ::CopyFileW(backupPath.c_str(), paths.m_szPrefsPath, FALSE);
}

}  // namespace

bool IsFirefoxFollowingSystemProxy(const CFirefoxPaths& paths, bool& follows)
{
    if (!paths.IsComplete())
        return false;
    CStdioFile file;
    if (!file.Open(paths.m_szPrefsPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return false;
    try {
        std::wstring line;
        bool found = false;
        while (!found && ReadWholeLine(file, line))
            found = line.find(kProxyTypeKey) != std::wstring::npos;
        follows = !found;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    file.Abort();
    return true;
}

void SetFirefoxFollowSystemProxy(const CFirefoxPaths& paths, bool follow)
{
    CStdioFile prefsOut;
    SetFirefoxFollowSystemProxy(paths, follow, prefsOut);
}

void SetFirefoxFollowSystemProxy(const CFirefoxPaths& paths, bool follow, CStdioFile& prefsOut)
{
    if (!paths.IsComplete())
        return;
    bool follows = false;
    if (IsFirefoxFollowingSystemProxy(paths, follows) && follows == follow)
        return;

    std::wstring backupPath = std::wstring(paths.m_szPrefsPath) + L".bkp";
    if (!::CopyFileW(paths.m_szPrefsPath, backupPath.c_str(), FALSE))
        return;

    CStdioFile backup;
    if (!backup.Open(backupPath.c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
        return;
    if (!prefsOut.Open(paths.m_szPrefsPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText))
        return;

    try {
        std::wstring line;
        bool endsWithBreak = true;
        while (ReadWholeLine(backup, line)) {
            endsWithBreak = line.back() == L'\n';
            if (follow && line.find(kProxyTypeKey) != std::wstring::npos)
                continue;
            prefsOut.WriteString(line.c_str());
        }
        if (!follow) {
            // The preference goes on a line of its own even when the file's
            // last line had no line end.
            if (!endsWithBreak)
                prefsOut.WriteString(L"\n");
            prefsOut.WriteString(kDirectLine);
        }
        prefsOut.Close();
    } catch (CException* e) {
        e->Delete();
        RestoreBackup(prefsOut, backup, backupPath, paths);
        return;
    } catch (...) {
        RestoreBackup(prefsOut, backup, backupPath, paths);
        return;
    }
    backup.Abort();
}
