// Root object, run-time class information and dynamic creation.
#pragma once

#include <windows.h>

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef afx_msg
#define afx_msg
#endif

class CObject;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();  // NULL when the class is not creatable
    CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;  // NULL when not creatable or out of memory
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew) \
    CRuntimeClass class_name::class##class_name = { #class_name, (int)sizeof(class_name), 0xFFFF, pfnNew, \
                                                    RUNTIME_CLASS(base_class_name) }; \
    CRuntimeClass* class_name::GetRuntimeClass() const \
    { \
        return RUNTIME_CLASS(class_name); \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() \
    { \
        return new class_name; \
    } \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, class_name::CreateObject)

class CObject
{
public:
    virtual ~CObject() {}
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static CRuntimeClass classCObject;

protected:
    CObject() {}
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// The message-map machinery belongs to the window layer, which defines
// AFX_MSGMAP; a command target without a map of its own ends the chain.
struct AFX_MSGMAP;

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() {}
    virtual const AFX_MSGMAP* GetMessageMap() const { return NULL; }
    static const AFX_MSGMAP* GetThisMessageMap() { return NULL; }
};
