// Root of the MFC substitute's class tree: CObject with run-time class information (CRuntimeClass, IsKindOf).
#pragma once

// Describes one class: its name, size, base class and, for dynamically creatable classes, a factory.
// The base is reached through a function so that class descriptions of the DLL can be linked from a host module
// without importing data.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CRuntimeClass* (*m_pfnGetBaseClass)();
    class CObject* (*m_pfnCreateObject)();

    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
    // True when this class is pClass or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* pClass) const;
    // A new object of this class, or null when the class has no factory.
    class CObject* CreateObject() const;
};

// Declares run-time class information inside a class body; IMPLEMENT_DYNAMIC(cls, base) defines it in a .cpp.
#define DECLARE_DYNAMIC(cls)                                                                                         \
public:                                                                                                              \
    static CRuntimeClass* GetThisClass();                                                                            \
    CRuntimeClass* GetRuntimeClass() const override;

// Like DECLARE_DYNAMIC, and the class can be created from its description (it needs a default constructor).
#define DECLARE_DYNCREATE(cls)                                                                                       \
    DECLARE_DYNAMIC(cls)                                                                                             \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(cls, base, factory)                                                               \
    CRuntimeClass* cls::GetThisClass()                                                                               \
    {                                                                                                                \
        static CRuntimeClass info = {#cls, static_cast<int>(sizeof(cls)), &base::GetThisClass, factory};             \
        return &info;                                                                                                \
    }                                                                                                                \
    CRuntimeClass* cls::GetRuntimeClass() const { return cls::GetThisClass(); }

#define IMPLEMENT_DYNAMIC(cls, base) AFX_IMPLEMENT_RUNTIMECLASS(cls, base, nullptr)

#define IMPLEMENT_DYNCREATE(cls, base)                                                                               \
    CObject* cls::CreateObject() { return new cls; }                                                                 \
    AFX_IMPLEMENT_RUNTIMECLASS(cls, base, &cls::CreateObject)

#define RUNTIME_CLASS(cls) (cls::GetThisClass())

// The root class: a virtual destructor and the run-time class of the most derived declared class.
class CObject {
public:
    virtual ~CObject() = default;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    // True when the object's class is pClass or derives from it.
    bool IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
