// Firefox keeps its own proxy setting in its profile's prefs.js: these
// functions find Firefox and its profile, make prefs.js follow the system's
// proxy setting or connect directly, and end and restart a running Firefox so
// that it reads the changed file.
#pragma once

#include "afx.h"

class CFirefoxPaths
{
public:
    CFirefoxPaths();

    // Each fills its path when it is still empty and leaves it empty when
    // nothing is found.
    void FindFirefoxExePath();
    void FindFirefoxPrefsPath();

    bool IsComplete() const { return m_szExePath[0] != L'\0' && m_szPrefsPath[0] != L'\0'; }

    wchar_t m_szExePath[260];    // firefox.exe from the Uninstall key of the registry
    wchar_t m_szPrefsPath[260];  // prefs.js of the ".default" profile
};

// The process-wide paths, looked up on first use and kept for the run.
CFirefoxPaths& GetFirefoxPaths();

// True when prefs.js could be read; follows = no line holds "network.proxy.type".
bool IsFirefoxFollowingSystemProxy(const CFirefoxPaths& paths, bool& follows);

// Rewrites prefs.js (after copying it to prefs.js.bkp) to follow the system's
// proxy setting or, with follow false, to connect directly. A rewrite that
// fails part-way puts the backup back.
void SetFirefoxFollowSystemProxy(const CFirefoxPaths& paths, bool follow);
// The same, writing prefs.js through the given (closed) text file object.
void SetFirefoxFollowSystemProxy(const CFirefoxPaths& paths, bool follow, CStdioFile& prefsOut);

// Id of the first running process whose module name contains "firefox", 0 when none.
DWORD FindFirefoxProcess(const CFirefoxPaths& paths);
bool TerminateFirefox(const CFirefoxPaths& paths, DWORD dwProcessId);
bool StartFirefox(const CFirefoxPaths& paths);

// Sets prefs.js to follow or not, first asking with pszQuestion (Yes and No)
// to close a running Firefox, which is started again after the change.
void ChangeFirefoxProxySetting(HWND hOwner, const CFirefoxPaths& paths, bool follow, LPCWSTR pszQuestion);

// Start-up: when the settings want Firefox to follow the system's proxy
// setting (bFirefox) and prefs.js does not, puts that right.
void SyncFirefoxAtStartup(HWND hOwner, bool bFirefox);
void SyncFirefoxAtStartup(HWND hOwner, const CFirefoxPaths& paths, bool bFirefox);

extern const wchar_t kFirefoxStartupQuestion[];
