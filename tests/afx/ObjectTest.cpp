// Tests of CObject and CRuntimeClass: run-time type checks, dynamic creation,
// the class registry across modules, down-casts and the dump context.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>

#include "AfxTestSupport.h"

using wivotest::Join;

namespace {

int g_nShapesAlive = 0;

} // namespace

class CShape : public CObject
{
    DECLARE_SERIAL(CShape)
public:
    CShape() { ++g_nShapesAlive; }
    ~CShape() override { --g_nShapesAlive; }
};
IMPLEMENT_SERIAL(CShape, CObject, 1)

class CCircle : public CShape
{
    DECLARE_SERIAL(CCircle)
public:
    CCircle() : m_nRadius(5) {}
    int m_nRadius;
};
IMPLEMENT_SERIAL(CCircle, CShape, VERSIONABLE_SCHEMA | 2)

class CDynOnly : public CObject
{
    DECLARE_DYNAMIC(CDynOnly)
};
IMPLEMENT_DYNAMIC(CDynOnly, CObject)

class CCreatable : public CDynOnly
{
    DECLARE_DYNCREATE(CCreatable)
};
IMPLEMENT_DYNCREATE(CCreatable, CDynOnly)

// Its constructor fails the way the framework's allocations fail.
class CFailing : public CObject
{
    DECLARE_DYNCREATE(CFailing)
public:
    CFailing() { AfxThrowMemoryException(); }
};
IMPLEMENT_DYNCREATE(CFailing, CObject)

/////////////////////////////////////////////////////////////////////////////
// Run-time class information

TEST(RuntimeClass, DescribesTheClassAndFollowsTheBaseChainAcrossModules)
{
    CRuntimeClass* pClass = RUNTIME_CLASS(CCircle);
    EXPECT_STREQ("CCircle", pClass->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CCircle)), pClass->m_nObjectSize);
    EXPECT_EQ(VERSIONABLE_SCHEMA | 2u, pClass->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CShape), pClass->m_pfnGetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CShape)->m_pfnGetBaseClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pfnGetBaseClass());
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CDynOnly)->m_wSchema);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CDynOnly)->m_pfnCreateObject);

    CCircle circle;
    CCreatable creatable;
    const CObject& obj = circle;
    EXPECT_EQ(RUNTIME_CLASS(CCircle), obj.GetRuntimeClass());
    // CObject's class lives in the framework DLL.
    EXPECT_EQ("1|1|1|0|0",
              Join({obj.IsKindOf(RUNTIME_CLASS(CCircle)), obj.IsKindOf(RUNTIME_CLASS(CShape)),
                    obj.IsKindOf(RUNTIME_CLASS(CObject)), obj.IsKindOf(RUNTIME_CLASS(CDynOnly)),
                    obj.IsKindOf(nullptr)}));
    EXPECT_EQ("1|0|0|1|1|0", Join({creatable.IsKindOf(RUNTIME_CLASS(CDynOnly)),
                                   creatable.IsKindOf(RUNTIME_CLASS(CShape)),
                                   RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)),
                                   RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CShape)),
                                   circle.IsSerializable(), creatable.IsSerializable()}));
}

TEST(RuntimeClass, CreateObjectAndDownCasts)
{
    int nBefore = g_nShapesAlive;
    CObject* pObject = RUNTIME_CLASS(CCircle)->CreateObject();
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), pObject->GetRuntimeClass());
    EXPECT_EQ(5, static_cast<CCircle*>(pObject)->m_nRadius);
    EXPECT_EQ(nBefore + 1, g_nShapesAlive);
    delete pObject;   // virtual destructor through the base
    EXPECT_EQ(nBefore, g_nShapesAlive);
    pObject = RUNTIME_CLASS(CCreatable)->CreateObject();
    EXPECT_TRUE(pObject != NULL && pObject->IsKindOf(RUNTIME_CLASS(CCreatable)));
    delete pObject;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CDynOnly)->CreateObject()) << "not dynamically creatable";
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->CreateObject());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CFailing)->CreateObject()) << "the constructor failed";

    CCircle circle;
    pObject = &circle;
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CShape, pObject));
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CCircle, pObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDynOnly, pObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CShape, static_cast<CObject*>(nullptr)));
    EXPECT_EQ(&circle, STATIC_DOWNCAST(CShape, pObject));
    EXPECT_EQ(nullptr, AfxDynamicDownCast(RUNTIME_CLASS(CCreatable), pObject));
}

/////////////////////////////////////////////////////////////////////////////
// The class registry

TEST(ClassRegistry, FindsSerializableClassesByNameForTheirLifetime)
{
    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
    EXPECT_EQ(RUNTIME_CLASS(CCircle), CRuntimeClass::FromName(L"CCircle"));
    EXPECT_EQ(RUNTIME_CLASS(CCircle), AfxFindRuntimeClass("CCircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CDynOnly")) << "only IMPLEMENT_SERIAL registers";
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("ccircle")) << "names are case-sensitive";
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("NoSuchClass"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(L"C\u00C4"));

    CRuntimeClass temp = { "CTemporaryClass", 8, 1, nullptr, &CObject::_GetBaseClass, nullptr };
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CTemporaryClass"));
    {
        AFX_CLASSINIT init(&temp);
        EXPECT_EQ(&temp, CRuntimeClass::FromName("CTemporaryClass"));
        // The classes registered before are still reachable past the new link.
        EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
        AfxClassInit(&temp);   // twice is once
    }
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CTemporaryClass"));
    EXPECT_EQ(RUNTIME_CLASS(CCircle), CRuntimeClass::FromName("CCircle"));
}

TEST(ClassRegistry, UnloadedModuleTakesItsClassesAlong)
{
    typedef CObject* (*PFNCREATE)();
    typedef CRuntimeClass* (*PFNCLASS)();
    HMODULE hPlugin = LoadLibraryW(L"AfxObjectTestPlugin.dll");
    ASSERT_NE(nullptr, hPlugin) << "error " << GetLastError();
    auto pfnCreate = (PFNCREATE)(void*)GetProcAddress(hPlugin, "PluginCreateThing");
    auto pfnClass = (PFNCLASS)(void*)GetProcAddress(hPlugin, "PluginThingClass");
    ASSERT_TRUE(pfnCreate != NULL && pfnClass != NULL);

    CRuntimeClass* pClass = CRuntimeClass::FromName("CPluginThing");
    ASSERT_NE(nullptr, pClass);
    EXPECT_EQ(pfnClass(), pClass);
    EXPECT_EQ(3u, pClass->m_wSchema);
    CObject* pMade = pClass->CreateObject();
    CObject* pExported = pfnCreate();
    ASSERT_TRUE(pMade != NULL && pExported != NULL);
    EXPECT_EQ(pClass, pMade->GetRuntimeClass());
    EXPECT_EQ("1|1|0", Join({pExported->IsKindOf(RUNTIME_CLASS(CObject)),
                             pExported->IsKindOf(pClass),
                             pExported->IsKindOf(RUNTIME_CLASS(CShape))}));
    delete pMade;
    delete pExported;

    ASSERT_TRUE(FreeLibrary(hPlugin));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"AfxObjectTestPlugin.dll"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CPluginThing"));
    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
}

/////////////////////////////////////////////////////////////////////////////
// Diagnostics

namespace {

// A file that keeps what is written to it.
class CCaptureFile : public CFile
{
public:
    void Write(const void* lpBuf, UINT nCount) override
    {
        m_text.append(static_cast<const wchar_t*>(lpBuf), nCount / sizeof(wchar_t));
    }
    void Flush() override { ++m_nFlushes; }
    // What was written since the last call.
    std::wstring Take()
    {
        std::wstring text;
        text.swap(m_text);
        return text;
    }
    std::wstring m_text;
    int m_nFlushes = 0;
};

} // namespace

TEST(DumpContext, WritesValuesAndObjects)
{
    CCaptureFile file;
    CDumpContext dc(&file);
    EXPECT_EQ(0, dc.GetDepth());
    dc << 42 << L" " << "narrow" << L" " << 7u << L" " << -3L << L" " << (DWORD)9 << L"\n";
    EXPECT_EQ(L"42 narrow 7 -3 9\r\n", file.Take());
    CCircle circle;
    dc << circle;
    wchar_t expected[64];
    swprintf(expected, 64, L"a CCircle at $%llX\r\n", (unsigned long long)(UINT_PTR)&circle);
    EXPECT_EQ(std::wstring(expected), file.Take());
    dc << static_cast<const CObject*>(nullptr) << static_cast<LPCTSTR>(nullptr);
    EXPECT_EQ(L"NULLNULL", file.Take());
    BYTE bytes[] = { 0x00, 0x1F, 0xA0 };
    dc.HexDump(L">", bytes, 3, 2);
    EXPECT_EQ(L"> 00 1F\r\n> A0\r\n", file.Take());
    dc.Flush();
    EXPECT_EQ(1, file.m_nFlushes);

    // The global context goes to the debugger and must simply not fail.
    afxDump << L"ObjectTest: afxDump works\n";
}
