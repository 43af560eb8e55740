// Run-time class information: walks the chain of base class descriptions.
#include "afx/CObject.h"

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pClass) const
{
    if (!pClass)
        return false;
    // Each class has exactly one description (defined once, in the module that implements the class).
    for (const CRuntimeClass* c = this; c; c = c->GetBaseClass()) {
        if (c == pClass)
            return true;
    }
    return false;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CRuntimeClass* CObject::GetThisClass()
{
    static CRuntimeClass info = {"CObject", static_cast<int>(sizeof(CObject)), nullptr, nullptr};
    return &info;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
