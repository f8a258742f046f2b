// The library's demo: a tour of what the library and its framework offer,
// printed as UTF-8 so that the German texts reach a Linux terminal intact.
#include <Wivo.h>
#include <afxres.h>

#include <stdio.h>

#include <string>

namespace {

void Print(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    int n = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), NULL, 0, NULL, NULL);
    if (n > 0) {
        std::string utf8(n, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &utf8[0], n, NULL, NULL);
        fwrite(utf8.data(), 1, n, stdout);
    }
    fflush(stdout);
}

void Section(LPCWSTR title)
{
    Print(L"\n%s\n", title);
    CString line(L'-', lstrlenW(title));
    Print(L"%s\n", (LPCWSTR)line);
}

CString ModulePath(HMODULE module)
{
    CString path;
    DWORD n = GetModuleFileNameW(module, path.GetBuffer(MAX_PATH), MAX_PATH);
    path.ReleaseBuffer(n);
    return path;
}

void ShowModules()
{
    Section(L"Module und Ressourcen");
    HMODULE afxModule = GetModuleHandleW(L"WivoAfx.dll");
    HMODULE libModule = GetModuleHandleW(L"Wivo10u.dll");

    CFileVersionInfo info(libModule);
    Print(L"Bibliothek:  %s\n", (LPCWSTR)ModulePath(libModule));
    Print(L"  Version %s (FileVersion \"%s\", Build %s), %s\n",
          (LPCWSTR)info.GetFileVersion().ToString(), (LPCWSTR)info.GetFileVersionString(),
          (LPCWSTR)info.GetStringFileInfo(L"FileBuild"), (LPCWSTR)info.GetFileDescription());
    Print(L"Framework:   %s (Version %s)\n", (LPCWSTR)ModulePath(afxModule),
          (LPCWSTR)CFileVersionInfo(afxModule).GetFileVersion().ToString());
    Print(L"Common Controls %s, Shell %s\n", (LPCWSTR)WivoGetComCtlVersion().ToString(),
          (LPCWSTR)WivoGetShellVersion().ToString());

    AFX_MODULE_STATE* pState = AfxGetModuleState();
    Print(L"Modulzustand des Programms %p, beim Laden gemerkt: %p (%s)\n", (void*)pState,
          (void*)GetWIVOModuleState(), GetWIVOModuleState() == pState ? L"gleich" : L"VERSCHIEDEN");

    // Texts are searched in the program first, then in the library, then in
    // the framework.
    static const UINT ids[] = {53250, 53251, 53252, 53264, 53280, 53841, AFX_IDS_IDLEMESSAGE};
    for (UINT id : ids) {
        HINSTANCE from = AfxFindStringResourceHandle(id);
        Print(L"  Text %5u aus %-12s \"%s\"\n", id,
              from == libModule ? L"Wivo10u.dll" : from == afxModule ? L"WivoAfx.dll" : L"?",
              (LPCWSTR)CStringEx::LoadString(id));
    }
}

void ShowExceptions()
{
    Section(L"Ausnahmen mit Ursachenkette");
    CFileException* pFileError = new CFileException;
    CFile file;
    if (!file.Open(L"C:\\gibt-es-nicht\\daten.bin", CFile::modeRead, pFileError))
        Print(L"CFile::Open: Ursache %d, Systemfehler %ld\n", pFileError->m_cause,
              pFileError->m_lOsError);
    try {
        throw new CIllegalArgumentException(L"Die Datendatei ist nicht lesbar.", L"strPath",
                                            new CExceptionEx(pFileError));
    } catch (CExceptionEx* e) {
        Print(L"%s\n", (LPCWSTR)e->ToString());
        e->Delete();
    }
    CWin32Exception win32(static_cast<DWORD>(ERROR_ACCESS_DENIED));
    Print(L"CWin32Exception(5): %s\n", (LPCWSTR)win32.GetErrorMessage());
}

void ShowValues()
{
    Section(L"Werte");
    CStringEx path = CStringEx(CString(L"C:\\Daten")).ConcatPath(L"bericht.txt");
    Print(L"ConcatPath: %s; passt auf \"*.txt\": %s, auf \"*.TXT\": %s\n", (LPCWSTR)path,
          path.Matches(L"*.txt") ? L"ja" : L"nein", path.Matches(L"*.TXT") ? L"ja" : L"nein");
    Print(L"ValInt(\"0x1F\") = %d, Str(1.5) = %s\n", CStringEx::ValInt(L"0x1F"),
          (LPCWSTR)CStringEx::Str(1.5));

    CStringTokenizer tokens(L"Wien;\"Graz;Linz\";;Salzburg", L';');
    Print(L"Tokenizer (%u Teile):", tokens.GetTokenCount());
    while (tokens.HasMoreTokens())
        Print(L" [%s]", (LPCWSTR)tokens.GetNextToken());
    Print(L"\n");

    CBitSet bits(0x000000F0);
    Print(L"CBitSet 0x%08lX: Bits 4..7 = 0x%lX, Bit 3 = %d\n", bits.GetBits(), bits.GetBits(4, 4),
          bits[3]);

    CVersion a(1, 2, 3, 4), b(1, 10);
    Print(L"CVersion %s < %s: %s; undefiniert: %s\n", (LPCWSTR)a.ToString(),
          (LPCWSTR)b.ToString(), a < b ? L"ja" : L"nein", (LPCWSTR)CVersion().ToString());
}

void ShowLocale()
{
    Section(L"Gebietsschema");
    CLocale locale(0x0C07);
    for (int scheme = CLocale::nameRFC1766; scheme <= CLocale::namePOSIX; ++scheme)
        Print(L"  Schema %d: %s\n", scheme,
              (LPCWSTR)locale.ToString(static_cast<CLocale::LocaleIDStringFormat>(scheme)));
    Print(L"  %s / %s, erster Monat \"%s\", Zahl %s, Betrag %s\n",
          (LPCWSTR)locale.GetLanguageName(), (LPCWSTR)locale.GetCountryName(),
          (LPCWSTR)locale.GetMonthName(1, FALSE), (LPCWSTR)locale.FormatNumber(1234567),
          (LPCWSTR)locale.FormatCurrency(1234.5));
}

void ShowContainer()
{
    Section(L"Containerdatei mit mehreren Streams");
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    CString name = CStringEx(CString(temp)).ConcatPath(L"wivo-demo.msf");
    try {
        {
            CMultiStreamFile container(name, CFile::modeCreate | CFile::modeReadWrite);
            static const LPCWSTR streams[] = {L"Kopf", L"Daten", L"Anhang"};
            int n = 0;
            for (LPCWSTR stream : streams) {
                container.OpenStream(stream, TRUE);
                CArchive ar(&container, CArchive::store);
                ar << CString(L"Inhalt von ") + stream << ++n;
                ar.Close();
            }
            container.DeleteStream(L"Anhang");
            container.Close();
        }
        CMultiStreamFile container(name, CFile::modeRead);
        container.SetCurrentStream(L"Daten");
        CArchive ar(&container, CArchive::load);
        CString text;
        int number = 0;
        ar >> text >> number;
        Print(L"%s: %lu Bytes; Stream \"Daten\" enthält \"%s\" und %d\n", (LPCWSTR)name,
              container.GetFileLength(), (LPCWSTR)text, number);
        container.OpenStream(L"Fehlt", FALSE);
    } catch (CMultiStreamFileException* e) {
        Print(L"Erwarteter Fehler: %s\n", (LPCWSTR)e->GetErrorMessage());
        e->Delete();
    } catch (CException* e) {
        WCHAR message[512] = {};
        e->GetErrorMessage(message, 512);
        Print(L"Fehler: %s\n", message);
        e->Delete();
    }
    DeleteFileW(name);
}

void ShowRegistry()
{
    Section(L"Registrierung");
    const CString keyName = L"Software\\Wivo10u-Demo";
    CRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, keyName)) {
        Print(L"Schlüssel nicht anlegbar: %s\n", (LPCWSTR)CSystem::GetErrorMessage(key.GetLastError()));
        return;
    }
    key.SetStringValue(L"Ort", L"Graz");
    key.SetDWordValue(L"Anzahl", 42);
    Print(L"HKCU\\%s: Ort = %s, Anzahl = %lu, fehlender Wert = %s\n", (LPCWSTR)keyName,
          (LPCWSTR)key.GetStringValue(L"Ort", L"?"), key.GetDWordValue(L"Anzahl", 0),
          (LPCWSTR)key.GetStringValue(L"Fehlt", L"(Vorgabe)"));
    try {
        key.GetValueType(L"Fehlt");
    } catch (CRegKeyException* e) {
        Print(L"GetValueType(\"Fehlt\"): CRegKeyException %lu: %s\n", e->GetErrorCode(),
              (LPCWSTR)e->GetErrorMessage());
        e->Delete();
    }
    key.Close();
    CRegKey software(HKEY_CURRENT_USER, L"Software", KEY_ALL_ACCESS);
    software.DeleteSubKey(L"Wivo10u-Demo");
}

} // namespace

int main()
{
    Print(L"Wivo10u – Vorführung\n====================\n");
    ShowModules();
    ShowExceptions();
    ShowValues();
    ShowLocale();
    ShowContainer();
    ShowRegistry();
    return 0;
}
