// Tests of the framework's worker threads.
#include "afx.h"

#include <gtest/gtest.h>

namespace {

const DWORD kWait = 30000;  // generous: the machine may be loaded

// A duplicate of the thread's handle, usable after the object deleted itself.
HANDLE DupHandle(HANDLE h)
{
    HANDLE dup = NULL;
    DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return dup;
}

DWORD ExitCodeOf(HANDLE h)
{
    DWORD code = 0;
    GetExitCodeThread(h, &code);
    return code;
}

struct WorkerArgs
{
    HANDLE hRan;
    LONG value;
    CWinThread* pSeen;
};

UINT AFX_CDECL WorkerProc(LPVOID pParam)
{
    WorkerArgs* args = static_cast<WorkerArgs*>(pParam);
    args->pSeen = AfxGetThread();
    InterlockedIncrement(&args->value);
    SetEvent(args->hRan);
    return 42;
}

UINT AFX_CDECL ThrowingProc(LPVOID)
{
    throw new CFileException(CFileException::genericException);
}

UINT AFX_CDECL ThrowingStdProc(LPVOID)
{
    throw 17;
}

TEST(CWinThread, WorkerRunsWithItsArgumentAndReturnsItsCode)
{
    WorkerArgs args = { CreateEventW(NULL, TRUE, FALSE, NULL), 0, NULL };
    CWinThread* p = AfxBeginThread(WorkerProc, &args, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->m_bAutoDelete);
    EXPECT_NE(nullptr, p->m_hThread);
    EXPECT_NE(0u, p->m_nThreadID);
    HANDLE h = DupHandle(p->m_hThread);
    EXPECT_EQ(0, args.value) << "a suspended worker has not run";
    p->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kWait));
    EXPECT_EQ(1, args.value);
    EXPECT_EQ(p, args.pSeen) << "AfxGetThread on the worker is its object";
    EXPECT_EQ(42u, ExitCodeOf(h));
    CloseHandle(h);
    CloseHandle(args.hRan);
}

TEST(CWinThread, ManyWorkersStartAtOnce)
{
    const int n = 20;
    WorkerArgs args[n];
    for (auto& a : args) {
        a = { CreateEventW(NULL, TRUE, FALSE, NULL), 0, NULL };
        ASSERT_NE(nullptr, AfxBeginThread(WorkerProc, &a));
    }
    for (auto& a : args) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(a.hRan, kWait));
        CloseHandle(a.hRan);
    }
}

TEST(CWinThread, ExceptionsEndOnlyTheirThread)
{
    for (AFX_THREADPROC proc : { ThrowingProc, ThrowingStdProc }) {
        CWinThread* p = AfxBeginThread(proc, NULL, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, p);
        HANDLE h = DupHandle(p->m_hThread);
        p->ResumeThread();
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kWait));
        EXPECT_EQ((DWORD)-1, ExitCodeOf(h));
        CloseHandle(h);
    }
}

TEST(CWinThread, NoWorkerWithoutFunction)
{
    EXPECT_EQ(nullptr, AfxBeginThread((AFX_THREADPROC)NULL, NULL));
    EXPECT_EQ(nullptr, AfxBeginThread((CRuntimeClass*)NULL));
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CObject))) << "not a thread class";
}

// ---- user-interface threads ------------------------------------------------

struct UiLog
{
    LONG init = 0, exit = 0, pretranslate = 0, deleted = 0, appMessages = 0;
    BOOL initResult = TRUE;
    HANDLE hReady = NULL;
    CWinThread* pSeen = NULL;
};
UiLog g_log;

const UINT WM_TEST_PING = WM_APP + 7;

class CTestUiThread : public CWinThread
{
    DECLARE_DYNCREATE(CTestUiThread)
public:
    ~CTestUiThread() override { InterlockedIncrement(&g_log.deleted); }

    BOOL InitInstance() override
    {
        InterlockedIncrement(&g_log.init);
        g_log.pSeen = AfxGetThread();
        MSG msg;
        PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE);  // make the queue
        SetEvent(g_log.hReady);
        return g_log.initResult;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        InterlockedIncrement(&g_log.pretranslate);
        if (pMsg->message == WM_TEST_PING)
            InterlockedIncrement(&g_log.appMessages);
        return CWinThread::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override
    {
        InterlockedIncrement(&g_log.exit);
        return CWinThread::ExitInstance() + 1000;
    }
};

IMPLEMENT_DYNCREATE(CTestUiThread, CWinThread)

class CWinThreadUi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log = UiLog();
        g_log.hReady = CreateEventW(NULL, TRUE, FALSE, NULL);
    }
    void TearDown() override { CloseHandle(g_log.hReady); }
};

TEST_F(CWinThreadUi, SuspendedThreadRunsNothingBeforeResume)
{
    CWinThread* p = AfxBeginThread(RUNTIME_CLASS(CTestUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CTestUiThread)));
    HANDLE h = DupHandle(p->m_hThread);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(g_log.hReady, 300));
    EXPECT_EQ(0, g_log.init);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(h, 0));

    ::ResumeThread(p->m_hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_log.hReady, kWait));
    EXPECT_EQ(p, g_log.pSeen);
    EXPECT_TRUE(p->PostThreadMessage(WM_TEST_PING, 0, 0));
    EXPECT_TRUE(p->PostThreadMessage(WM_QUIT, 5, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kWait));

    EXPECT_EQ(1, g_log.init);
    EXPECT_EQ(1, g_log.appMessages) << "messages before WM_QUIT go through PreTranslateMessage";
    EXPECT_EQ(1, g_log.exit);
    EXPECT_EQ(1, g_log.deleted) << "the thread object deletes itself";
    EXPECT_EQ(1005u, ExitCodeOf(h)) << "the exit code is ExitInstance's result";
    CloseHandle(h);
}

TEST_F(CWinThreadUi, FailedInitInstanceSkipsTheLoop)
{
    g_log.initResult = FALSE;
    CWinThread* p = AfxBeginThread(RUNTIME_CLASS(CTestUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, p);
    HANDLE h = DupHandle(p->m_hThread);
    p->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kWait));
    EXPECT_EQ(1, g_log.init);
    EXPECT_EQ(0, g_log.pretranslate);
    EXPECT_EQ(1, g_log.exit);
    EXPECT_EQ(1, g_log.deleted);
    EXPECT_EQ(1000u, ExitCodeOf(h));
    CloseHandle(h);
}

TEST_F(CWinThreadUi, ThreadKeptWhenNotAutoDelete)
{
    CWinThread* p = AfxBeginThread(RUNTIME_CLASS(CTestUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, p);
    p->m_bAutoDelete = FALSE;
    p->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_log.hReady, kWait));
    p->PostThreadMessage(WM_QUIT, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(p->m_hThread, kWait));
    EXPECT_EQ(0, g_log.deleted);
    EXPECT_EQ(1000u, ExitCodeOf(p->m_hThread));
    delete p;
    EXPECT_EQ(1, g_log.deleted);
}

TEST(CRuntimeClass, CreatesAndChecksKinds)
{
    CObject* p = RUNTIME_CLASS(CTestUiThread)->CreateObject();
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CWinThread)));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(p->IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_STREQ("CTestUiThread", p->GetRuntimeClass()->m_lpszClassName);
    LONG before = g_log.deleted;
    delete p;
    EXPECT_EQ(before + 1, g_log.deleted);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CWinThread)->CreateObject()) << "not creatable";
}

// ---- without an application object --------------------------------------------

TEST(AfxGlobals, CopeWithoutAnApplication)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(nullptr, AfxGetThread());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    EXPECT_EQ(GetModuleHandleW(NULL), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleW(NULL), AfxGetResourceHandle());
    EXPECT_STREQ(L"Corvane Tessaly", AfxGetAppName());
}

TEST(CCriticalSection, ExcludesAndSingleLockReleases)
{
    static CCriticalSection cs;
    static LONG inside, maxInside;
    inside = maxInside = 0;
    struct Local
    {
        static UINT AFX_CDECL Proc(LPVOID p)
        {
            for (int i = 0; i < 200; ++i) {
                CSingleLock lock(&cs, TRUE);
                LONG now = InterlockedIncrement(&inside);
                if (now > maxInside)
                    maxInside = now;
                Sleep(0);
                InterlockedDecrement(&inside);
            }
            SetEvent((HANDLE)p);
            return 0;
        }
    };
    HANDLE done[4];
    for (auto& h : done) {
        h = CreateEventW(NULL, TRUE, FALSE, NULL);
        ASSERT_NE(nullptr, AfxBeginThread(Local::Proc, h));
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(4, done, TRUE, kWait));
    EXPECT_EQ(1, maxInside);
    for (auto h : done)
        CloseHandle(h);
    CSingleLock lock(&cs);
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
}

}  // namespace
