// The root object, run-time class information and dynamic creation.
#include "afx.h"

#include <new>

CRuntimeClass CObject::classCObject = { "CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL };

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &CObject::classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    if (!m_pfnCreateObject)
        return NULL;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        return NULL;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
