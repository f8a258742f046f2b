// afxobj_.h - the root of the class hierarchy and run-time class information.
//
//   CRuntimeClass   name, size, schema and base of a CObject-derived class
//   CObject         the common base: run-time type, serialization hook, diagnostics
//   AFX_CLASSINIT   registers a serializable class so archives can find it by name
//   CDumpContext    diagnostic output (debugger output or a CFile)
//
// Included by afx.h; everything here may only forward-declare the later headers' classes.
#pragma once

#include "afxver_.h"

class CObject;
class CArchive;
class CDumpContext;
class CFile;
struct CRuntimeClass;

// Classes of other modules (an application, an extension DLL) put these in front
// of their run-time class data and the friend extraction operator; extension DLLs
// redefine them around their headers, as with the framework.
#ifndef AFX_DATA
#define AFX_DATA
#endif
#ifndef AFX_API
#define AFX_API
#endif
#ifndef AFX_COMDAT
#define AFX_COMDAT
#endif
#ifndef PASCAL
#define PASCAL __stdcall
#endif

// OR-ed into the schema of IMPLEMENT_SERIAL: the class reads older schemas itself
// (it asks CArchive::GetObjectSchema) instead of the archive rejecting them.
#define VERSIONABLE_SCHEMA (0x80000000)

/////////////////////////////////////////////////////////////////////////////
// CRuntimeClass

struct AFX_CORE_CLASS CRuntimeClass
{
// Attributes
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                          // 0xFFFF for classes that are not serializable
    CObject* (PASCAL* m_pfnCreateObject)();  // NULL for classes that are not dynamically creatable
    // The base is reached through a function: the base's data may be imported from
    // another module and so is no link-time constant.
    CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();

// Operations
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Archive form of a class reference: schema WORD, name length WORD, ASCII name.
    void Store(CArchive& ar) const;
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);

    // A class registered by AFX_CLASSINIT in any loaded module, by its name.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CRuntimeClass* PASCAL FromName(LPCWSTR lpszClassName);

// Implementation
    CRuntimeClass* m_pNextClass;             // link of the class registry
};

/////////////////////////////////////////////////////////////////////////////
// Class registry. AFX_CLASSINIT objects are created by IMPLEMENT_SERIAL; the registry
// is process-wide and each entry disappears with the module that registered it.

AFX_CORE_API void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);
AFX_CORE_API void AFXAPI AfxClassTerm(CRuntimeClass* pOldClass);
// The registered class of that name, or NULL (the same as CRuntimeClass::FromName).
AFX_CORE_API CRuntimeClass* AFXAPI AfxFindRuntimeClass(LPCSTR lpszClassName);

struct AFX_CORE_CLASS AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();

    CRuntimeClass* m_pClass;

private:
    AFX_CLASSINIT(const AFX_CLASSINIT&);
    void operator=(const AFX_CLASSINIT&);
};

/////////////////////////////////////////////////////////////////////////////
// CObject

class AFX_CORE_CLASS CObject
{
public:
// Object model (types, destruction, allocation)
    virtual CRuntimeClass* GetRuntimeClass() const;
    // As in the framework, a destructor may throw (a file closed on delete that fails
    // to flush): derived destructors must be allowed to.
    virtual ~CObject() noexcept(false);

    void* PASCAL operator new(size_t nSize);
    void* PASCAL operator new(size_t, void* p);
    void PASCAL operator delete(void* p);
    void PASCAL operator delete(void* p, void* pPlace);
    // The form DEBUG_NEW produces in debug builds of client code.
    void* PASCAL operator new(size_t nSize, LPCSTR lpszFileName, int nLine);
    void PASCAL operator delete(void* p, LPCSTR lpszFileName, int nLine);

protected:
    CObject();

private:
    // Objects are not copied by value unless the derived class says how.
    CObject(const CObject& objectSrc);           // no implementation
    void operator=(const CObject& objectSrc);    // no implementation

// Attributes
public:
    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

// Overridables
    virtual void Serialize(CArchive& ar);

    // Diagnostic support
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

// Implementation
public:
    static const CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL _GetBaseClass();
};

/////////////////////////////////////////////////////////////////////////////
// Run-time class macros

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))

// Checked down-casts: DYNAMIC_DOWNCAST yields NULL when the object is of another
// class; STATIC_DOWNCAST is checked only in debug builds.
AFX_CORE_API CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
AFX_CORE_API CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);

#define DYNAMIC_DOWNCAST(class_name, object) \
    ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), (CObject*)(object)))
#ifdef _DEBUG
#define STATIC_DOWNCAST(class_name, object) \
    ((class_name*)AfxStaticDownCast(RUNTIME_CLASS(class_name), (CObject*)(object)))
#else
#define STATIC_DOWNCAST(class_name, object) ((class_name*)(object))
#endif

#define DECLARE_DYNAMIC(class_name) \
protected: \
    static CRuntimeClass* PASCAL _GetBaseClass(); \
public: \
    static const AFX_DATA CRuntimeClass class##class_name; \
    virtual CRuntimeClass* GetRuntimeClass() const;

// Serializable classes keep a writable CRuntimeClass: the registry links it.
#define _DECLARE_DYNAMIC(class_name) \
protected: \
    static CRuntimeClass* PASCAL _GetBaseClass(); \
public: \
    static AFX_DATA CRuntimeClass class##class_name; \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define _DECLARE_DYNCREATE(class_name) \
    _DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
    _DECLARE_DYNCREATE(class_name) \
    AFX_API friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass* PASCAL class_name::_GetBaseClass() \
        { return RUNTIME_CLASS(base_class_name); } \
    AFX_COMDAT const CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class class_name), (UINT)(wSchema), pfnNew, \
        &class_name::_GetBaseClass, NULL }; \
    CRuntimeClass* class_name::GetRuntimeClass() const \
        { return RUNTIME_CLASS(class_name); }

#define _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass* PASCAL class_name::_GetBaseClass() \
        { return RUNTIME_CLASS(base_class_name); } \
    AFX_COMDAT CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class class_name), (UINT)(wSchema), pfnNew, \
        &class_name::_GetBaseClass, NULL }; \
    CRuntimeClass* class_name::GetRuntimeClass() const \
        { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() \
        { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema) \
    CObject* PASCAL class_name::CreateObject() \
        { return new class_name; } \
    _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name)); \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) \
        { pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name)); return ar; }

/////////////////////////////////////////////////////////////////////////////
// Validity checks of pointers handed in by callers

// FALSE for NULL or for memory that cannot be read (or written, with bReadWrite).
AFX_CORE_API BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite = TRUE);
// FALSE for NULL or a string whose characters (nLength, or up to the terminator
// for -1) cannot be read.
AFX_CORE_API BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int nLength = -1);
AFX_CORE_API BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);

/////////////////////////////////////////////////////////////////////////////
// CDumpContext

class AFX_CORE_CLASS CDumpContext
{
public:
    // Without a file the text goes to the debugger (OutputDebugString).
    CDumpContext(CFile* pFile = NULL);

// Attributes
    int GetDepth() const;       // 0 dumps objects shallow, > 0 also their members
    void SetDepth(int nNewDepth);

// Operations
    CDumpContext& operator<<(LPCTSTR lpsz);
    CDumpContext& operator<<(LPCSTR lpsz);
    CDumpContext& operator<<(const void* lp);
    CDumpContext& operator<<(const CObject* pOb);
    CDumpContext& operator<<(const CObject& ob);
    CDumpContext& operator<<(BYTE by);
    CDumpContext& operator<<(WORD w);
    CDumpContext& operator<<(UINT u);
    CDumpContext& operator<<(LONG l);
    CDumpContext& operator<<(DWORD dw);
    CDumpContext& operator<<(float f);
    CDumpContext& operator<<(double d);
    CDumpContext& operator<<(int n);
    CDumpContext& operator<<(LONGLONG n);
    CDumpContext& operator<<(ULONGLONG n);
    void HexDump(LPCTSTR lpszLine, BYTE* pby, int nBytes, int nWidth);
    void Flush();

// Implementation
public:
    int m_nDepth;
    CFile* m_pFile;

    void OutputString(LPCTSTR lpsz);

private:
    CDumpContext(const CDumpContext& dcSrc);     // no implementation
    void operator=(const CDumpContext& dcSrc);   // no implementation
};

// The framework's dump context for diagnostics (debugger output).
extern AFX_CORE_DATA CDumpContext afxDump;
