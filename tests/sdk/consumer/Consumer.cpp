// An outside program built against the installed SDK: it links the library,
// which brings the framework, and uses both through their public headers.
#include <Wivo.h>
#include <afxres.h>

#include <stdio.h>

static int failures = 0;

static void Check(bool ok, const char* what)
{
    printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++failures;
}

int main()
{
    Check(GetWIVOModuleState() == AfxGetModuleState(), "library saved the host's module state");

    CString idle;
    Check(idle.LoadString(AFX_IDS_IDLEMESSAGE) && !idle.IsEmpty(),
          "framework text found through the resource chain");

    CString a = L"Wivo";
    CString b = a;
    b += L"10u";
    Check(a == L"Wivo" && b == L"Wivo10u", "CString copy-on-write");

    bool caught = false;
    try {
        CFile file(L"C:\\no-such-folder\\no-such-file.bin", CFile::modeRead);
    } catch (CFileException* e) {
        caught = e->m_cause == CFileException::badPath
              || e->m_cause == CFileException::fileNotFound;
        e->Delete();
    }
    Check(caught, "CFileException thrown by the framework DLL, caught here");

    if (failures == 0)
        printf("consumer: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
