// Firefox's proxy setting: finding Firefox in the registry and its profile
// under the application-data folder, rewriting prefs.js, ending and restarting
// the stand-in firefox.exe, and the start-up check with its question. These
// change the prefix's registry and profile folder, so they run one at a time.
#include "tests/win/FirefoxTestWorld.h"

#include <psapi.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace firefox_test;

namespace {

const std::string kDirect = "user_pref(\"network.proxy.type\", 0);";

// ---------------------------------------------------------------------------
// The program's path from the Uninstall key

class FirefoxExePathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(CUninstallKeys::HasFirefoxKey()) << "the prefix has a Firefox entry of its own";
    }

    // The first of the Firefox sub-keys in the order the registry gives them.
    static std::wstring FirstFirefoxKey()
    {
        for (const std::wstring& name : CUninstallKeys::SubKeys())
            if (StrStrIW(name.c_str(), L"firefox"))
                return name;
        return std::wstring();
    }

    CUninstallKeys keys;
};

TEST_F(FirefoxExePathTest, OnlyTheFirstFirefoxSubKeyIsRead)
{
    keys.Add(L"Other program corvane-test", L"C:\\Other");
    keys.Add(L"Mozilla Firefox 1 (corvane-test)", L"C:\\Program Files\\First");
    keys.Add(L"mozilla FIREFOX 2 (corvane-test)", L"C:\\Program Files\\Second");
    std::wstring first = FirstFirefoxKey();
    ASSERT_FALSE(first.empty());
    std::wstring expected = first.find(L" 1 ") != std::wstring::npos ? L"C:\\Program Files\\First\\firefox.exe"
                                                                     : L"C:\\Program Files\\Second\\firefox.exe";

    CFirefoxPaths paths;
    paths.FindFirefoxExePath();
    EXPECT_STREQ(expected.c_str(), paths.m_szExePath);
}

TEST_F(FirefoxExePathTest, FirstFirefoxSubKeyWithoutLocationGivesNoPath)
{
    keys.Add(L"Mozilla Firefox 1 (corvane-test)", L"");
    keys.Add(L"Mozilla Firefox 2 (corvane-test)", L"");
    std::wstring first = FirstFirefoxKey();
    std::wstring second = first.find(L" 1 ") != std::wstring::npos ? L"Mozilla Firefox 2 (corvane-test)"
                                                                   : L"Mozilla Firefox 1 (corvane-test)";
    keys.Add(second, L"C:\\Program Files\\Second");

    CFirefoxPaths paths;
    paths.FindFirefoxExePath();
    EXPECT_STREQ(L"", paths.m_szExePath);
}

TEST_F(FirefoxExePathTest, NoFirefoxSubKeyGivesNoPath)
{
    keys.Add(L"Other program corvane-test", L"C:\\Other");
    CFirefoxPaths paths;
    paths.FindFirefoxExePath();
    EXPECT_STREQ(L"", paths.m_szExePath);
}

TEST_F(FirefoxExePathTest, AKnownPathIsKept)
{
    keys.Add(L"Mozilla Firefox (corvane-test)", L"C:\\New");
    CFirefoxPaths paths;
    wcscpy(paths.m_szExePath, L"C:\\Old\\firefox.exe");
    paths.FindFirefoxExePath();
    EXPECT_STREQ(L"C:\\Old\\firefox.exe", paths.m_szExePath);
}

TEST_F(FirefoxExePathTest, ALocationTooLongForThePathGivesNoPath)
{
    keys.Add(L"Mozilla Firefox (corvane-test)", L"C:\\" + std::wstring(250, L'd'));
    CFirefoxPaths paths;
    paths.FindFirefoxExePath();
    EXPECT_STREQ(L"", paths.m_szExePath);
}

// ---------------------------------------------------------------------------
// The profile's prefs.js under the application-data folder

class FirefoxPrefsPathTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(profiles.IsUsable()) << "the Profiles folder is not empty"; }

    std::wstring PrefsOf(const std::wstring& dir) const { return profiles.Path() + L"\\" + dir + L"\\prefs.js"; }

    CProfilesFolder profiles;
};

TEST_F(FirefoxPrefsPathTest, TheDefaultProfileDirectoryIsFound)
{
    profiles.AddFile(L"corvane-test-d.default");  // a file, not a profile
    profiles.AddProfile(L"corvane-test-c.other");
    profiles.AddProfile(L"corvane-test-a.default");

    CFirefoxPaths paths;
    paths.FindFirefoxPrefsPath();
    EXPECT_EQ(PrefsOf(L"corvane-test-a.default"), paths.m_szPrefsPath);
}

TEST_F(FirefoxPrefsPathTest, OfTwoCandidatesTheFirstOfTheWalkIsTaken)
{
    profiles.AddProfile(L"corvane-test-b.default-release");
    profiles.AddProfile(L"corvane-test-a.default");
    std::vector<std::wstring> order = profiles.WalkOrder();
    ASSERT_EQ(2u, order.size());

    CFirefoxPaths paths;
    paths.FindFirefoxPrefsPath();
    EXPECT_EQ(PrefsOf(order[0]), paths.m_szPrefsPath);
}

TEST_F(FirefoxPrefsPathTest, NoDefaultProfileGivesNoPath)
{
    profiles.AddProfile(L"corvane-test-c.other");
    profiles.AddFile(L"corvane-test-d.default");
    CFirefoxPaths paths;
    paths.FindFirefoxPrefsPath();
    EXPECT_STREQ(L"", paths.m_szPrefsPath);
}

// ---------------------------------------------------------------------------
// Reading and rewriting prefs.js

class FirefoxPrefsTest : public ::testing::Test
{
protected:
    FirefoxPrefsTest()
        : prefs(dir.File(L"prefs.js")),
          backup(dir.File(L"prefs.js.bkp")),
          paths(MakePaths(L"C:\\Program Files\\Mozilla Firefox\\firefox.exe", prefs))
    {}

    CTempDir dir;
    std::wstring prefs;
    std::wstring backup;
    CFirefoxPaths paths;
};

struct RewriteCase
{
    const char* name;
    std::string before;
    bool follow;
    std::string after;
    bool rewrites;  // false: the file already is so, and no backup is made
};

std::string LongPref(const char* name, size_t length)
{
    std::string line = std::string("user_pref(\"") + name + "\", \"";
    line += std::string(length - line.size() - 3, 'x');
    return line + "\");";
}

// A long line holding the key at the given position.
std::string LongLineWithKey(size_t keyAt, size_t length)
{
    std::string line = "user_pref(\"a\", \"" + std::string(keyAt - 16, 'y') + "network.proxy.type";
    line += std::string(length - line.size() - 3, 'z');
    return line + "\");";
}

std::vector<RewriteCase> RewriteCases()
{
    const std::string header = "# Mozilla User Preferences\r\n\r\n";
    const std::string l600 = LongPref("long.600", 600);
    const std::string l300 = LongPref("long.300", 300);
    return {
        { "ThreeProxyTypeLinesAreDropped",
          header + "user_pref(\"a\", 1);\r\nuser_pref(\"network.proxy.type\", 1);\r\nuser_pref(\"b\", \"x\");\r\n"
                   "user_pref(\"network.proxy.type\", 4);\r\nuser_pref(\"network.proxy.type\", 0);\r\n"
                   "user_pref(\"c\", true);\r\n",
          true, header + "user_pref(\"a\", 1);\r\nuser_pref(\"b\", \"x\");\r\nuser_pref(\"c\", true);\r\n", true },
        { "DirectAppendsThePreferenceWithNoLineBreak", "user_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);\r\n", false,
          "user_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);\r\n" + kDirect, true },
        { "DirectAfterALastLineWithoutLineEndStartsALine", "user_pref(\"a\", 1);", false,
          "user_pref(\"a\", 1);\r\n" + kDirect, true },
        { "DirectOnAnEmptyFile", "", false, kDirect, true },
        { "LineEndsAreWrittenAsCrLf", "a\nb\r\nuser_pref(\"network.proxy.type\", 1);\nc", true, "a\r\nb\r\nc", true },
        { "LongLinesPassThroughWhole", "x\r\n" + l600 + "\r\nuser_pref(\"network.proxy.type\", 2);\r\n" + l300 + "\r\n",
          true, "x\r\n" + l600 + "\r\n" + l300 + "\r\n", true },
        { "LongLinesHoldingTheKeyAreDroppedWhole",
          "x\r\n" + LongLineWithKey(300, 700) + "\r\n" + LongLineWithKey(245, 400) + "\r\ny\r\n", true, "x\r\ny\r\n",
          true },
        { "EightBitCharactersPassUnchanged",
          "user_pref(\"n\", \"\xC3\xA9\xFF\x80\x1A\");\r\nuser_pref(\"network.proxy.type\", 1);\r\n", true,
          "user_pref(\"n\", \"\xC3\xA9\xFF\x80\x1A\");\r\n", true },
        { "AlreadyFollowingWritesNothing", "user_pref(\"a\", 1);\nb", true, "user_pref(\"a\", 1);\nb", false },
        { "AlreadyDirectWritesNothing", "a\n" + kDirect, false, "a\n" + kDirect, false },
        { "CaseMattersForTheKey", "user_pref(\"Network.Proxy.Type\", 1);\r\n", true,
          "user_pref(\"Network.Proxy.Type\", 1);\r\n", false },
    };
}

TEST_F(FirefoxPrefsTest, Rewrites)
{
    for (const RewriteCase& c : RewriteCases()) {
        SCOPED_TRACE(c.name);
        DeleteFileW(backup.c_str());
        WriteBytes(prefs, c.before);

        SetFirefoxFollowSystemProxy(paths, c.follow);

        EXPECT_EQ(c.after, ReadFileBytes(prefs));
        if (c.rewrites)
            EXPECT_EQ(c.before, ReadFileBytes(backup));
        else
            EXPECT_FALSE(Exists(backup));
        bool follows = !c.follow;
        EXPECT_TRUE(IsFirefoxFollowingSystemProxy(paths, follows));
        EXPECT_EQ(c.follow, follows);
    }
}

TEST_F(FirefoxPrefsTest, DirectPreferenceIsThe35CharactersAtTheEnd)
{
    ASSERT_EQ(35u, kDirect.size());
    WriteBytes(prefs, "user_pref(\"a\", 1);\r\n");
    SetFirefoxFollowSystemProxy(paths, false);
    std::string text = ReadFileBytes(prefs);
    ASSERT_GE(text.size(), 35u);
    EXPECT_EQ("user_pref(\"network.proxy.type\", 0);", text.substr(text.size() - 35));
    EXPECT_EQ("user_pref(\"a\", 1);\r\n", text.substr(0, text.size() - 35));
}

TEST_F(FirefoxPrefsTest, EachRewriteOverwritesTheBackup)
{
    WriteBytes(backup, "an older backup that is longer than the file\r\n");
    WriteBytes(prefs, "a\r\n");
    SetFirefoxFollowSystemProxy(paths, false);
    EXPECT_EQ("a\r\n", ReadFileBytes(backup));
    SetFirefoxFollowSystemProxy(paths, true);
    EXPECT_EQ("a\r\n" + kDirect, ReadFileBytes(backup));
    EXPECT_EQ("a\r\n", ReadFileBytes(prefs));
}

TEST_F(FirefoxPrefsTest, FollowingIsReadOnlyWithBothPathsAndTheFile)
{
    bool follows = false;
    EXPECT_FALSE(IsFirefoxFollowingSystemProxy(paths, follows)) << "no prefs.js yet";

    WriteBytes(prefs, "user_pref(\"network.proxy.type\", 1);\r\n");
    follows = true;
    EXPECT_TRUE(IsFirefoxFollowingSystemProxy(paths, follows));
    EXPECT_FALSE(follows);

    CFirefoxPaths noExe = MakePaths(L"", prefs);
    EXPECT_FALSE(IsFirefoxFollowingSystemProxy(noExe, follows));
    SetFirefoxFollowSystemProxy(noExe, true);
    EXPECT_EQ("user_pref(\"network.proxy.type\", 1);\r\n", ReadFileBytes(prefs));
    EXPECT_FALSE(Exists(backup));
}

TEST_F(FirefoxPrefsTest, NoBackupMeansNoRewrite)
{
    const std::string before = "user_pref(\"network.proxy.type\", 1);\r\n";
    WriteBytes(prefs, before);
    ASSERT_TRUE(CreateDirectoryW(backup.c_str(), NULL));  // the copy cannot go there
    SetFirefoxFollowSystemProxy(paths, true);
    EXPECT_EQ(before, ReadFileBytes(prefs));
}

TEST_F(FirefoxPrefsTest, APrefsFileThatCannotBeWrittenIsLeftAsItWas)
{
    const std::string before = "a\r\nuser_pref(\"network.proxy.type\", 1);\r\nb\r\n";
    WriteBytes(prefs, before);
    // Held open by someone who lets others read it but not write it.
    HANDLE hHolder =
        CreateFileW(prefs.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHolder);
    SetFirefoxFollowSystemProxy(paths, true);
    CloseHandle(hHolder);
    EXPECT_EQ(before, ReadFileBytes(prefs));
}

// Writes prefs.js straight to the disk and fails like a full disk after a
// number of lines, or when it is closed.
class CFailingStdioFile : public CStdioFile
{
public:
    CFailingStdioFile(int nLinesBeforeFailure, bool bFailOnClose)
        : m_nLeft(nLinesBeforeFailure), m_bFailOnClose(bFailOnClose)
    {}

    void WriteString(LPCWSTR psz) override
    {
        if (m_nLeft-- == 0)
            Fail();
        CStdioFile::WriteString(psz);
        CStdioFile::Flush();
    }

    void Close() override
    {
        if (m_bFailOnClose)
            Fail();
        CStdioFile::Close();
    }

    bool m_bFailed = false;
    std::string m_atFailure;  // prefs.js as it was on the disk when the write failed

private:
    void Fail()
    {
        m_bFailed = true;
        m_atFailure = ReadFileBytes(static_cast<LPCWSTR>(GetFilePath()));
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, GetFilePath());
    }

    int m_nLeft;
    bool m_bFailOnClose;
};

TEST_F(FirefoxPrefsTest, ARewriteThatFailsPartWayPutsTheBackupBack)
{
    const std::string before =
        "# prefs\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"network.proxy.type\", 1);\r\nuser_pref(\"b\", 2);\r\n"
        "user_pref(\"c\", 3);\r\n";
    struct FailCase
    {
        int lines;
        bool onClose;
        bool follow;
    } cases[] = {
        { 2, false, true },
        { 0, false, true },
        { -1, true, true },
        { 1, false, false },
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "lines " << c.lines << " close " << c.onClose);
        std::string start = c.follow ? before : "user_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);\r\n";
        WriteBytes(prefs, start);
        DeleteFileW(backup.c_str());

        CFailingStdioFile out(c.lines, c.onClose);
        SetFirefoxFollowSystemProxy(paths, c.follow, out);

        ASSERT_TRUE(out.m_bFailed);
        EXPECT_LT(out.m_atFailure.size(), start.size() + (c.follow ? 0 : 35)) << "nothing was cut short";
        EXPECT_EQ(start, ReadFileBytes(prefs));
        EXPECT_EQ(start, ReadFileBytes(backup));
    }
}

// ---------------------------------------------------------------------------
// The running Firefox

class FirefoxProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Exists(StandInExe())) << "no stand-in firefox.exe";
        EndAllFirefoxes();
        ASSERT_TRUE(CopyFileW(StandInExe().c_str(), dir.File(L"FIREFOX.EXE").c_str(), FALSE));
        paths = MakePaths(dir.File(L"firefox.exe"), dir.File(L"prefs.js"));
    }

    void TearDown() override { EndAllFirefoxes(); }

    static bool NoneRuns(const CFirefoxPaths& paths) { return FindFirefoxProcess(paths) == 0; }
    static bool OneRuns(const CFirefoxPaths& paths) { return FindFirefoxProcess(paths) != 0; }

    CTempDir dir;
    CFirefoxPaths paths;
};

TEST_F(FirefoxProcessTest, FoundCaseInsensitivelyEndedAndStartedAgain)
{
    ASSERT_TRUE(NoneRuns(paths));
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi = {};
    std::wstring upper = dir.File(L"FIREFOX.EXE");
    ASSERT_TRUE(CreateProcessW(upper.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
    CloseHandle(pi.hThread);

    // The module list is there once the loader has run.
    DWORD start = GetTickCount();
    while (FindFirefoxProcess(paths) != pi.dwProcessId && GetTickCount() - start < 30000)
        Sleep(20);
    ASSERT_EQ(pi.dwProcessId, FindFirefoxProcess(paths));
    HMODULE hModule = NULL;
    DWORD cb = 0;
    wchar_t name[260] = L"";
    if (EnumProcessModules(pi.hProcess, &hModule, sizeof(hModule), &cb))
        GetModuleBaseNameW(pi.hProcess, hModule, name, 260);
    EXPECT_STREQ(L"FIREFOX.EXE", name) << "the name does not test the case";

    EXPECT_TRUE(TerminateFirefox(paths, pi.dwProcessId));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(WaitUntil(NoneRuns, paths));

    EXPECT_TRUE(StartFirefox(paths));
    EXPECT_TRUE(WaitUntil(OneRuns, paths));
    EXPECT_NE(pi.dwProcessId, FindFirefoxProcess(paths));  // our handle keeps the old id taken
    CloseHandle(pi.hProcess);
}

TEST_F(FirefoxProcessTest, FailuresAreReportedAndIncompletePathsDoNothing)
{
    EXPECT_FALSE(TerminateFirefox(paths, 0x7FFFFFF0));
    CFirefoxPaths missing = MakePaths(dir.File(L"nothere\\firefox.exe"), dir.File(L"prefs.js"));
    EXPECT_FALSE(StartFirefox(missing));

    ASSERT_TRUE(StartFirefox(paths));
    ASSERT_TRUE(WaitUntil(OneRuns, paths));
    DWORD id = FindFirefoxProcess(paths);
    for (const CFirefoxPaths& incomplete :
         { MakePaths(L"", dir.File(L"prefs.js")), MakePaths(paths.m_szExePath, L"") }) {
        EXPECT_EQ(0u, FindFirefoxProcess(incomplete));
        EXPECT_FALSE(TerminateFirefox(incomplete, id));
        EXPECT_FALSE(StartFirefox(incomplete));
    }
    EXPECT_EQ(id, FindFirefoxProcess(paths)) << "still running";
}

// ---------------------------------------------------------------------------
// The start-up check, with the stand-in installed and a profile in the prefix

// Answers the message boxes of this process from a thread of its own and
// keeps what they said.
class CMessageBoxAnswerer
{
public:
    explicit CMessageBoxAnswerer(int answer) : m_answer(answer), m_thread([this] { Run(); }) {}
    ~CMessageBoxAnswerer() { Stop(); }

    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    std::vector<std::wstring> m_texts;  // the texts of each box's controls, joined by '|'
    std::vector<std::wstring> m_captions;

private:
    static BOOL CALLBACK FindBox(HWND h, LPARAM lp)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        wchar_t cls[32] = L"";
        GetClassNameW(h, cls, 32);
        if (pid == GetCurrentProcessId() && !wcscmp(cls, L"#32770") && IsWindowVisible(h)) {
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        }
        return TRUE;
    }

    void Run()
    {
        while (!m_stop) {
            HWND hBox = NULL;
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&hBox));
            if (!hBox) {
                Sleep(20);
                continue;
            }
            wchar_t caption[256] = L"";
            GetWindowTextW(hBox, caption, 256);
            std::wstring texts;
            for (HWND c = GetWindow(hBox, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                wchar_t text[512] = L"";
                GetWindowTextW(c, text, 512);
                texts += text;
                texts += L"|";
            }
            m_captions.push_back(caption);
            m_texts.push_back(texts);
            PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hBox, m_answer)));
            DWORD start = GetTickCount();
            while (IsWindow(hBox) && GetTickCount() - start < 30000)
                Sleep(20);
        }
    }

    int m_answer;
    std::atomic<bool> m_stop{ false };
    std::thread m_thread;
};

class FirefoxStartupTest : public ::testing::Test
{
protected:
    const std::string before =
        "# Mozilla User Preferences\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"network.proxy.type\", 1);\r\n"
        "user_pref(\"b\", 2);\r\n";
    const std::string following = "# Mozilla User Preferences\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);\r\n";

    void SetUp() override
    {
        ASSERT_FALSE(CUninstallKeys::HasFirefoxKey()) << "the prefix has a Firefox entry of its own";
        ASSERT_TRUE(profiles.IsUsable()) << "the Profiles folder is not empty";
        ASSERT_TRUE(Exists(StandInExe())) << "no stand-in firefox.exe";
        EndAllFirefoxes();
        keys.Add(L"Mozilla Firefox (corvane-test)", StandInDir());
        prefs = profiles.AddProfile(L"corvane-test-s.default", before);
        backup = prefs + L".bkp";
        paths.FindFirefoxExePath();
        paths.FindFirefoxPrefsPath();
        ASSERT_EQ(StandInExe(), paths.m_szExePath);
        ASSERT_EQ(prefs, paths.m_szPrefsPath);
        hOwner = CreateWindowExW(0, L"STATIC", L"Corvane owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                 NULL, NULL, GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, hOwner);
    }

    void TearDown() override
    {
        EndAllFirefoxes();
        if (hOwner)
            DestroyWindow(hOwner);
        if (process.hProcess)
            CloseHandle(process.hProcess);
    }

    void StartStandIn()
    {
        STARTUPINFOW si = { sizeof(si) };
        ASSERT_TRUE(CreateProcessW(paths.m_szExePath, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &process));
        CloseHandle(process.hThread);
        process.hThread = NULL;
        DWORD start = GetTickCount();
        while (FindFirefoxProcess(paths) != process.dwProcessId && GetTickCount() - start < 30000)
            Sleep(20);
        ASSERT_EQ(process.dwProcessId, FindFirefoxProcess(paths));
    }

    bool StandInRuns() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

    static bool AnotherRuns(const CFirefoxPaths& paths) { return FindFirefoxProcess(paths) != 0; }

    static void ExpectQuestion(const CMessageBoxAnswerer& answerer, const wchar_t* question)
    {
        ASSERT_EQ(1u, answerer.m_texts.size());
        EXPECT_NE(std::wstring::npos, answerer.m_texts[0].find(std::wstring(question) + L"|"))
            << "the box said: " << testing::PrintToString(answerer.m_texts[0]);
        EXPECT_EQ(std::wstring(AfxGetAppName()), answerer.m_captions[0]);
    }

    CUninstallKeys keys;
    CProfilesFolder profiles;
    CFirefoxPaths paths;
    std::wstring prefs, backup;
    HWND hOwner = NULL;
    PROCESS_INFORMATION process = {};
};

const wchar_t kStartupQuestion[] =
    L"Firefox'setting is not consistent,Do you want to close Firefox to change its setting?";

TEST_F(FirefoxStartupTest, AnsweringNoLeavesPrefsAndFirefoxAlone)
{
    StartStandIn();
    CMessageBoxAnswerer answerer(IDNO);
    SyncFirefoxAtStartup(hOwner, paths, true);
    answerer.Stop();

    ExpectQuestion(answerer, kStartupQuestion);
    EXPECT_EQ(before, ReadFileBytes(prefs));
    EXPECT_FALSE(Exists(backup));
    EXPECT_TRUE(StandInRuns());
    EXPECT_EQ(process.dwProcessId, FindFirefoxProcess(paths));
}

TEST_F(FirefoxStartupTest, AnsweringYesRestartsFirefoxFollowingTheSystem)
{
    StartStandIn();
    CMessageBoxAnswerer answerer(IDYES);
    SyncFirefoxAtStartup(hOwner, paths, true);
    answerer.Stop();

    ExpectQuestion(answerer, kStartupQuestion);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    EXPECT_EQ(following, ReadFileBytes(prefs));
    EXPECT_EQ(before, ReadFileBytes(backup));
    ASSERT_TRUE(WaitUntil(AnotherRuns, paths));
    EXPECT_NE(process.dwProcessId, FindFirefoxProcess(paths));
}

TEST_F(FirefoxStartupTest, WithoutARunningFirefoxPrefsIsChangedWithoutAsking)
{
    CMessageBoxAnswerer answerer(IDNO);
    SyncFirefoxAtStartup(hOwner, paths, true);
    answerer.Stop();

    EXPECT_TRUE(answerer.m_texts.empty());
    EXPECT_EQ(following, ReadFileBytes(prefs));
    EXPECT_EQ(before, ReadFileBytes(backup));
    EXPECT_EQ(0u, FindFirefoxProcess(paths)) << "nothing is started";
}

TEST_F(FirefoxStartupTest, NothingHappensWhenTheSettingsDoNotAskOrPrefsAlreadyFollows)
{
    StartStandIn();
    for (bool alreadyFollowing : { false, true }) {
        SCOPED_TRACE(alreadyFollowing ? "prefs.js follows" : "Firefox flag off");
        const std::string& text = alreadyFollowing ? following : before;
        WriteBytes(prefs, text);
        CMessageBoxAnswerer answerer(IDYES);
        SyncFirefoxAtStartup(hOwner, paths, alreadyFollowing);
        answerer.Stop();

        EXPECT_TRUE(answerer.m_texts.empty());
        EXPECT_EQ(text, ReadFileBytes(prefs));
        EXPECT_FALSE(Exists(backup));
        EXPECT_TRUE(StandInRuns());
    }
}

TEST_F(FirefoxStartupTest, AChangeToDirectAsksWithTheGivenQuestion)
{
    WriteBytes(prefs, following);
    StartStandIn();
    CMessageBoxAnswerer answerer(IDYES);
    ChangeFirefoxProxySetting(hOwner, paths, false,
                              L"Firefox should be closed to change its setting. Do you want to close Firefox?");
    answerer.Stop();

    ExpectQuestion(answerer, L"Firefox should be closed to change its setting. Do you want to close Firefox?");
    EXPECT_EQ(following + kDirect, ReadFileBytes(prefs));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    EXPECT_TRUE(WaitUntil(AnotherRuns, paths));
}

}  // namespace
