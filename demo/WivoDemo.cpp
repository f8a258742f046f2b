// The library's demo: shows what the library and its framework offer so far.
#include <Wivo.h>
#include <afxres.h>

#include <stdio.h>

#include <vector>

namespace {

// Console output in UTF-8, so German texts survive a pipe as well as a terminal.
void Print(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    int n = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), NULL, 0, NULL, NULL);
    if (n > 0) {
        char* utf8 = new char[n];
        WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), utf8, n, NULL, NULL);
        fwrite(utf8, 1, n, stdout);
        delete[] utf8;
    }
    fflush(stdout);
}

CString ModulePath(HMODULE module)
{
    CString path;
    DWORD n = GetModuleFileNameW(module, path.GetBuffer(MAX_PATH), MAX_PATH);
    path.ReleaseBuffer(n);
    return path;
}

CString VersionOf(LPCWSTR file)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &handle);
    if (size == 0)
        return L"(keine Versionsressource)";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = NULL;
    UINT len = 0;
    if (!GetFileVersionInfoW(file, 0, size, data.data())
        || !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len))
        return L"(unlesbar)";
    CString text;
    text.Format(L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

} // namespace

int main()
{
    Print(L"Wivo10u demo\n============\n\n");

    HMODULE afxModule = GetModuleHandleW(L"WivoAfx.dll");
    HMODULE libModule = GetModuleHandleW(L"Wivo10u.dll");
    Print(L"Framework DLL: %s (Version %s)\n", (LPCWSTR)ModulePath(afxModule),
          (LPCWSTR)VersionOf(ModulePath(afxModule)));
    Print(L"Library DLL:   %s (Version %s)\n\n", (LPCWSTR)ModulePath(libModule),
          (LPCWSTR)VersionOf(ModulePath(libModule)));

    // The library registered itself as an extension module at load and kept
    // the host's module state.
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    Print(L"Module state of the host:      %p\n", (void*)pState);
    Print(L"Saved by the library at load:  %p (%s)\n", (void*)GetWIVOModuleState(),
          GetWIVOModuleState() == pState ? L"same" : L"DIFFERENT");
    Print(L"Resource handle of the host:   %p (the EXE: %s)\n\n",
          (void*)AfxGetResourceHandle(),
          AfxGetResourceHandle() == GetModuleHandleW(NULL) ? L"yes" : L"no");

    // Framework texts come through the resource chain: host first, then the
    // extension modules, then the framework DLL itself.
    static const struct { UINT id; LPCWSTR name; } texts[] = {
        {AFX_IDS_IDLEMESSAGE, L"AFX_IDS_IDLEMESSAGE"},
        {AFX_IDS_ALLFILTER, L"AFX_IDS_ALLFILTER"},
        {AFX_IDP_NO_ERROR_AVAILABLE, L"AFX_IDP_NO_ERROR_AVAILABLE"},
    };
    for (const auto& t : texts) {
        CString text;
        text.LoadString(t.id);
        HINSTANCE from = AfxFindStringResourceHandle(t.id);
        Print(L"%-28s 0x%04X  \"%s\"  from %s\n", t.name, t.id, (LPCWSTR)text,
              from == afxModule ? L"WivoAfx.dll" : (LPCWSTR)ModulePath(from));
    }

    CString prompt;
    AfxFormatString2(prompt, AFX_IDP_PARSE_INT_RANGE, L"0", L"65535");
    Print(L"AfxFormatString2(AFX_IDP_PARSE_INT_RANGE, 0, 65535): \"%s\"\n\n", (LPCWSTR)prompt);

    // A framework exception with its message, raised by a real failing open.
    CFileException error;
    CFile file;
    if (!file.Open(L"C:\\gibt-es-nicht\\datei.txt", CFile::modeRead, &error)) {
        WCHAR message[512] = {};
        error.GetErrorMessage(message, 512);
        Print(L"CFile::Open on a missing folder: cause %d, OS error %ld\n  \"%s\"\n",
              error.m_cause, error.m_lOsError, message);
    }
    return 0;
}
