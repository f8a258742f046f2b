// An outside program built against the installed SDK: it links the library,
// which brings the framework, and uses both through their public headers.
#include <Wivo.h>
#include <afxres.h>

#include <stdio.h>

#include <string>

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

    // Every text of the library, found through the host's resource chain.
    static const UINT libraryTexts[] = {28015, 28106, 28107, 28108, 28109, 28110, 53248,
                                        53249, 53250, 53251, 53252, 53264, 53280, 53288,
                                        53296, 53297, 53298, 53299, 53504, 53520, 53760,
                                        53761, 53824, 53840, 53841};
    int found = 0;
    for (UINT id : libraryTexts)
        found += !CStringEx::LoadString(id).IsEmpty();
    Check(found == 25, "all 25 library texts load");
    Check(CStringEx::LoadString(53250) == L"Ja" && CStringEx::LoadString(53264) == L" mit ",
          "library texts are exact");

    // Every exception class: thrown here, caught as the framework's base class,
    // reported, and released with Delete.
    CException* raised[] = {
        new CExceptionEx(L"aussen", new CExceptionEx(L"innen")),
        new CIllegalArgumentException(L"", L"nIndex"),
        new CWin32Exception(static_cast<DWORD>(ERROR_FILE_NOT_FOUND)),
        new CRegKeyException(ERROR_ACCESS_DENIED),
        new CMultiStreamFileException(2, L"Daten", L"C:\\x.msf"),
    };
    int reported = 0;
    for (CException* pRaised : raised) {
        try {
            throw pRaised;
        } catch (CException* e) {
            WCHAR text[512] = {};
            reported += e->GetErrorMessage(text, 512) && text[0] != 0;
            e->Delete();
        }
    }
    Check(reported == 5, "every exception class raised, reported and deleted");
    CExceptionEx chain(L"aussen", new CExceptionEx(L"innen"));
    Check(chain.ToString() == L"CExceptionEx: aussen\r\n\t-> CExceptionEx: innen",
          "exception chain reported with ToString");

    // The value classes.
    CStringEx name(CString(L"bericht.txt"));
    Check(name.Matches(L"*.txt") && !name.Matches(L"*.TXT")
              && name.ReverseFind(L"t") == 10 && CStringEx::ValInt(L"0x1F") == 31,
          "CStringEx matches, searches and converts");
    CStringTokenizer tokens(L"a,\"b,c\",d", L',');
    Check(tokens.GetTokenCount() == 3 && tokens.GetNextToken() == L"a"
              && tokens.GetNextToken() == L"\"b,c\"",
          "CStringTokenizer keeps quoted separators");
    CBitSet bits(0xF0);
    Check(bits.GetBits(4, 4) == 0xF && !bits[3], "CBitSet fields");
    Check(CVersion(1, 2, 3, 4).ToString() == L"1.2.3.4" && CVersion(1, 10) > CVersion(1, 9)
              && CVersion().ToString() == L"(Undefiniert)",
          "CVersion compares and prints");

    if (failures == 0)
        printf("consumer: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
