// Synchronisation objects.
#pragma once

#include <windows.h>

class CSyncObject
{
public:
    virtual ~CSyncObject() {}
    virtual BOOL Lock(DWORD dwTimeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;
};

class CCriticalSection : public CSyncObject
{
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() override { ::DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // A critical section always waits: the timeout is not used.
    BOOL Lock(DWORD = INFINITE) override
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() override
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }
    operator CRITICAL_SECTION*() { return &m_sect; }

    CRITICAL_SECTION m_sect;
};

// Holds a lock for a scope; unlocks in its destructor when still locked.
class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE) : m_pObject(pObject)
    {
        if (bInitialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeout = INFINITE)
    {
        if (!m_bLocked && m_pObject)
            m_bLocked = m_pObject->Lock(dwTimeout);
        return m_bLocked;
    }
    BOOL Unlock()
    {
        if (m_bLocked && m_pObject)
            m_bLocked = !m_pObject->Unlock();
        return !m_bLocked;
    }
    BOOL IsLocked() const { return m_bLocked; }

private:
    CSyncObject* m_pObject;
    BOOL m_bLocked = FALSE;
};
