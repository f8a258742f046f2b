// SystemReport.cpp - WivoReport: what the library finds out about the machine, as
// German text or as JSON.
//
//   WivoReport [--json] [--section NAME[,NAME...]]... [--help]
//
// Every section is one function that writes its facts once against CReportWriter;
// the writer turns them into text or JSON. Exit codes: 0 done, 1 the report failed,
// 2 wrong usage (a German usage text on standard error).
#include <Wivo.h>

#include "ReportWriter.h"

#include <vector>

namespace {

const wchar_t kReportTitle[] = L"Wivo10u – Systembericht";
const wchar_t kUnknown[] = L"(unbekannt)";

// The report speaks German (Austria) like the library's own texts, so sizes and
// dates are formatted for that locale whatever the machine's locale is.
const CLocale& ReportLocale()
{
    static const CLocale locale(0x0C07);
    return locale;
}

CString SizeText(unsigned __int64 nBytes)
{
    static const LPCWSTR units[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
    if (nBytes < 1024)
        return CStringEx::Format(L"%u Bytes", static_cast<UINT>(nBytes));
    double dSize = static_cast<double>(nBytes) / 1024;
    int nUnit = 0;
    while (dSize >= 1024 && nUnit < 4) {
        dSize /= 1024;
        ++nUnit;
    }
    CString strNumber = ReportLocale().FormatNumber(dSize);
    if (strNumber.IsEmpty()) {
        // A platform without the locale's formats still gets the decimal comma.
        strNumber = CStringEx::Format(L"%.2f", dSize);
        strNumber.Replace(L'.', L',');
    }
    return strNumber + L" " + units[nUnit];
}

CReportValue SizeValue(unsigned __int64 nBytes)
{
    return CReportValue::UnsignedNumber(nBytes, SizeText(nBytes));
}

std::vector<CString> ToVector(const CStringArray& strings)
{
    std::vector<CString> items;
    for (int i = 0; i < strings.GetSize(); ++i)
        items.push_back(strings.GetAt(i));
    return items;
}

/////////////////////////////////////////////////////////////////////////////
// Prozessoren

// The bits of the feature word of CPUID leaf 1 (EDX) as Intel names them; bits 10,
// 20 and 30 are reserved.
// clang-format off
const LPCWSTR kStandardFeatures[32] = {
    /*  0 */ L"FPU",  L"VME",    L"DE",   L"PSE",   L"TSC",  L"MSR", L"PAE",  L"MCE",
    /*  8 */ L"CX8",  L"APIC",   NULL,    L"SEP",   L"MTRR", L"PGE", L"MCA",  L"CMOV",
    /* 16 */ L"PAT",  L"PSE-36", L"PSN",  L"CLFSH", NULL,    L"DS",  L"ACPI", L"MMX",
    /* 24 */ L"FXSR", L"SSE",    L"SSE2", L"SS",    L"HTT",  L"TM",  NULL,    L"PBE",
};

// AMD processors report leaf 1 and leaf 0x80000001 OR-ed into one word, named here as
// AMD documents the two. Bits 0-9, 12-17, 23 and 24 mean the same in both words and
// several bits are used by one word only; where the words give a bit two meanings,
// both names show, joined by a slash, because the OR-ed word cannot tell which one
// set it.
const LPCWSTR kAmdFeatures[32] = {
    /*  0 */ L"FPU",  L"VME",       L"DE",           L"PSE",
    /*  4 */ L"TSC",  L"MSR",       L"PAE",          L"MCE",
    /*  8 */ L"CX8",  L"APIC",      NULL,            L"SEP/SYSCALL",
    /* 12 */ L"MTRR", L"PGE",       L"MCA",          L"CMOV",
    /* 16 */ L"PAT",  L"PSE-36",    NULL,            L"CLFSH/MP",
    /* 20 */ L"NX",   NULL,         L"MMX+",         L"MMX",
    /* 24 */ L"FXSR", L"SSE/FFXSR", L"SSE2/Page1GB", L"RDTSCP",
    /* 28 */ L"HTT",  L"LM",        L"3DNow!+",      L"3DNow!",
};
// clang-format on

std::vector<CString> FeatureNames(const CProcessorInfo& cpu)
{
    const LPCWSTR* names =
        cpu.GetVendor() == CProcessorInfo::vendorAMD ? kAmdFeatures : kStandardFeatures;
    CBitSet features = cpu.GetFeatures();
    std::vector<CString> items;
    for (int nBit = 0; nBit < 32; ++nBit) {
        if (features[nBit])
            items.push_back(names[nBit] != NULL ? CString(names[nBit])
                                                : CStringEx::Format(L"Bit %d", nBit));
    }
    return items;
}

void ReportProcessors(CReportWriter& writer)
{
    const CArray<CProcessorInfo, CProcessorInfo&>& processors = CSystem::GetProcessorsInfos();
    const int nCount = processors.GetSize();
    writer.Field(L"anzahl", L"Anzahl", CReportValue::Number(nCount));
    writer.BeginList(L"liste", L"Es wurde kein Prozessor erkannt.");
    for (int i = 0; i < nCount; ++i) {
        const CProcessorInfo cpu = processors[i];
        writer.BeginRecord(L"nummer", CReportValue::Number(i + 1),
                           CStringEx::Format(L"Prozessor %d", i + 1));
        // Brand strings are padded to their full length with blanks.
        CString strName = cpu.GetName();
        strName.TrimRight();
        writer.Field(L"name", L"Name", CReportValue::Text(strName, kUnknown));
        writer.Field(L"hersteller", L"Hersteller",
                     CReportValue::Text(cpu.GetVendorName(), kUnknown));
        writer.Field(L"architektur", L"Architektur",
                     CReportValue::Text(cpu.GetArchitectureName(), kUnknown));
        const WORD wMHz = cpu.GetFrequency();
        writer.Field(L"taktMHz", L"Takt",
                     wMHz != 0 ? CReportValue::Number(wMHz, CStringEx::Format(L"%u MHz", wMHz))
                               : CReportValue::Missing(L"nicht ermittelt"));
        const DWORD dwFeatures = cpu.GetFeatures().GetBits();
        writer.Field(L"merkmalswort", L"Merkmalswort",
                     CReportValue::Number(dwFeatures, CStringEx::Format(L"0x%08lX", dwFeatures)));
        writer.Field(L"merkmalsquelle", L"Quelle",
                     CReportValue::Text(cpu.GetVendor() == CProcessorInfo::vendorAMD
                                            ? L"CPUID 1 und 0x80000001 (EDX); "
                                              L"A/B = zwei Bedeutungen"
                                            : L"CPUID 1 (EDX)",
                                        kUnknown));
        writer.Field(L"merkmale", L"Merkmale", CReportValue::List(FeatureNames(cpu), L"keine"));
        writer.Field(
            L"seriennummer", L"Seriennummer",
            CReportValue::Text(cpu.GetSerialNumber(), L"keine (vom Prozessor nicht unterstützt)"));
        writer.EndRecord();
    }
    writer.EndList();
}

/////////////////////////////////////////////////////////////////////////////
// Betriebssystem und Oberfläche

void ReportOperatingSystem(CReportWriter& writer)
{
    const COSInfo os = CSystem::GetOSInfo();
    writer.Field(L"name", L"System",
                 CReportValue::Text(os.ToString(COSInfo::strOS | COSInfo::strVersion |
                                                COSInfo::strServicePack | COSInfo::strBuild),
                                    kUnknown));
    writer.Field(L"plattform", L"Plattform",
                 CReportValue::Text(os.ToString(COSInfo::strPlatform), kUnknown));
    writer.Field(L"familie", L"Familie",
                 CReportValue::Text(os.ToString(COSInfo::strSubPlatform), kUnknown));
    writer.Field(L"hersteller", L"Hersteller", CReportValue::Text(os.GetVendorName(), kUnknown));
    writer.Field(L"version", L"Version", CReportValue::Text(os.GetVersion().ToString(), kUnknown));
    writer.Field(L"code", L"Systemcode",
                 CReportValue::Number(os.GetOS(), CStringEx::Format(L"0x%08X", os.GetOS())));

    const CGUIInfo gui = CSystem::GetGUIInfo();
    writer.BeginGroup(L"oberflaeche", L"Oberfläche");
    writer.Field(L"name", L"Beschreibung",
                 CReportValue::Text(gui.ToString(CGUIInfo::strGUI | CGUIInfo::strVersion |
                                                 CGUIInfo::strServicePack),
                                    kUnknown));
    writer.Field(L"art", L"Art", CReportValue::Text(gui.ToString(CGUIInfo::strGUIType), kUnknown));
    writer.Field(L"version", L"Version", CReportValue::Text(gui.GetVersion().ToString(), kUnknown));
    writer.Field(L"code", L"Code",
                 CReportValue::Number(gui.GetGUI(), CStringEx::Format(L"0x%04X", gui.GetGUI())));
    writer.EndGroup();
}

/////////////////////////////////////////////////////////////////////////////
// Laufwerke

CString DriveTypeText(UINT nType)
{
    switch (nType) {
    case DRIVE_NO_ROOT_DIR:
        return L"kein Stammverzeichnis";
    case DRIVE_REMOVABLE:
        return L"Wechseldatenträger";
    case DRIVE_FIXED:
        return L"Festplatte";
    case DRIVE_REMOTE:
        return L"Netzlaufwerk";
    case DRIVE_CDROM:
        return L"CD/DVD-Laufwerk";
    case DRIVE_RAMDISK:
        return L"RAM-Disk";
    default:
        return kUnknown;
    }
}

void ReportDrives(CReportWriter& writer)
{
    CStringArray drives;
    CSystem::GetLogicalDrives(drives);
    writer.Field(L"anzahl", L"Anzahl", CReportValue::Number(drives.GetSize()));
    writer.BeginList(L"liste", L"Es wurde kein Laufwerk gefunden.");
    for (int i = 0; i < drives.GetSize(); ++i) {
        const CString strDrive = drives.GetAt(i);
        // The volume queries want the root directory, not the bare drive.
        const CString strRoot = strDrive + L"\\";
        CDiskInfo info;
        CSystem::GetDiskInfo(strRoot, CDiskInfo::infoDriveType, info);
        BOOL bReady = CSystem::GetDiskInfo(strRoot, CDiskInfo::infoVolume, info);
        if (bReady)
            bReady = CSystem::GetDiskInfo(strRoot, CDiskInfo::infoBytes, info);
        const DWORD dwError = bReady ? ERROR_SUCCESS : ::GetLastError();

        writer.BeginRecord(L"laufwerk", CReportValue::Text(strDrive, kUnknown),
                           L"Laufwerk " + strDrive);
        writer.Field(L"art", L"Art",
                     CReportValue::Text(DriveTypeText(info.m_nDriveType), kUnknown));
        writer.Field(L"bereit", L"Zustand",
                     CReportValue::Bool(bReady, L"bereit",
                                        L"nicht abfragbar (kein Datenträger oder nicht lesbar)"));
        if (!bReady) {
            writer.Field(L"fehler", L"Grund",
                         CReportValue::Text(CSystem::GetErrorMessage(dwError), kUnknown));
        } else {
            writer.Field(L"bezeichnung", L"Bezeichnung",
                         CReportValue::Text(info.m_strVolumeName, L"(ohne Bezeichnung)"));
            writer.Field(L"dateisystem", L"Dateisystem",
                         CReportValue::Text(info.m_strFileSystemName, kUnknown));
            writer.Field(
                L"seriennummer", L"Seriennummer",
                CReportValue::Text(CStringEx::Format(L"%04X-%04X", HIWORD(info.m_dwSerialNumber),
                                                     LOWORD(info.m_dwSerialNumber)),
                                   kUnknown));
            writer.Field(L"groesseBytes", L"Größe", SizeValue(info.m_nTotalBytes));
            writer.Field(L"freiBytes", L"Frei", SizeValue(info.m_nTotalFreeBytes));
            writer.Field(L"verfuegbarBytes", L"Für Sie verfügbar",
                         SizeValue(info.m_nFreeBytesAvailable));
        }
        writer.EndRecord();
    }
    writer.EndList();
}

/////////////////////////////////////////////////////////////////////////////
// Spezielle Ordner

// Indexed by the enumerations' values.
const LPCWSTR kSystemFolders[] = {
    L"folderAppData",         L"folderCommonAppData", L"folderCommonDesktop",
    L"folderCommonFavorites", L"folderCommonFiles",   L"folderCommonPrograms",
    L"folderCommonStartMenu", L"folderCommonStartup", L"folderCookies",
    L"folderDesktop",         L"folderFavorites",     L"folderFonts",
    L"folderHistory",         L"folderInternetCache", L"folderLocalAppData",
    L"folderPersonal",        L"folderProgramFiles",  L"folderPrograms",
    L"folderRecent",          L"folderSendTo",        L"folderStartMenu",
    L"folderStartup",         L"folderSystem",        L"folderTemplates",
    L"folderTemporary",       L"folderWindows",
};
static_assert(sizeof(kSystemFolders) / sizeof(kSystemFolders[0]) == CSystem::folderWindows + 1,
              "one name per CSystem::SpecialFolder");

const LPCWSTR kShellFolders[] = {
    L"shellAltStartup",
    L"shellAppData",
    L"shellBitBucket",
    L"shellCommonAltStartup",
    L"shellCommonDesktopDirectory",
    L"shellCommonFavorites",
    L"shellCommonPrograms",
    L"shellCommonStartMenu",
    L"shellCommonStartup",
    L"shellControls",
    L"shellCookies",
    L"shellDesktop",
    L"shellDesktopDirectory",
    L"shellDrives",
    L"shellFavorites",
    L"shellFonts",
    L"shellHistory",
    L"shellInternet",
    L"shellInternetCache",
    L"shellNetHood",
    L"shellNetwork",
    L"shellPersonal",
    L"shellPrinters",
    L"shellPrintHood",
    L"shellPrograms",
    L"shellRecent",
    L"shellSendTo",
    L"shellStartMenu",
    L"shellStartup",
    L"shellTemplates",
};
static_assert(sizeof(kShellFolders) / sizeof(kShellFolders[0]) == CShell::shellTemplates + 1,
              "one name per CShell::SpecialFolder");

const wchar_t kNoPath[] = L"(kein Pfad)";

void ReportFolders(CReportWriter& writer)
{
    writer.BeginGroup(L"system", L"Aus der Registrierung (CSystem::SpecialFolder)");
    for (int i = 0; i <= CSystem::folderWindows; ++i) {
        CString strPath = CSystem::GetFolderPath(static_cast<CSystem::SpecialFolder>(i));
        writer.Field(kSystemFolders[i], kSystemFolders[i], CReportValue::Text(strPath, kNoPath));
    }
    writer.EndGroup();

    writer.BeginGroup(L"shell", L"Von der Shell (CShell::SpecialFolder)");
    for (int i = 0; i <= CShell::shellTemplates; ++i) {
        CString strPath = CShell::GetSpecialFolderPath(static_cast<CShell::SpecialFolder>(i));
        writer.Field(kShellFolders[i], kShellFolders[i], CReportValue::Text(strPath, kNoPath));
    }
    writer.EndGroup();
}

/////////////////////////////////////////////////////////////////////////////
// Schnittstellen

void ReportPorts(CReportWriter& writer)
{
    CStringArray ports;
    CSystem::GetSerialPorts(ports);
    writer.Field(L"seriell", L"Seriell (COM)", CReportValue::List(ToVector(ports), L"keine"));
    CSystem::GetParallelPorts(ports);
    writer.Field(L"parallel", L"Parallel (LPT)", CReportValue::List(ToVector(ports), L"keine"));
}

/////////////////////////////////////////////////////////////////////////////
// Gebietsschema

void ReportLocale(CReportWriter& writer)
{
    const CLocale locale = CSystem::GetSystemLocale();
    const DWORD lcid = locale.GetLCID();
    writer.Field(L"lcid", L"Kennung (LCID)",
                 CReportValue::Number(lcid, CStringEx::Format(L"0x%04lX", lcid)));
    writer.Field(L"sprache", L"Sprache", CReportValue::Text(locale.GetLanguageName(), kUnknown));
    writer.Field(L"land", L"Land", CReportValue::Text(locale.GetCountryName(), kUnknown));
    writer.Field(L"isoSprache", L"Sprachcode (ISO 639)",
                 CReportValue::Text(locale.GetISOLanguageCode(), kUnknown));
    writer.Field(L"isoLand", L"Ländercode (ISO 3166)",
                 CReportValue::Text(locale.GetISOCountryCode(), kUnknown));

    static const struct
    {
        CLocale::LocaleIDStringFormat eFormat;
        LPCWSTR pszKey;
        LPCWSTR pszLabel;
    } schemes[] = {
        {CLocale::nameRFC1766, L"rfc1766", L"RFC 1766"},
        {CLocale::nameRFC4646, L"rfc4646", L"RFC 4646"},
        {CLocale::nameJava, L"java", L"Java"},
        {CLocale::nameICU, L"icu", L"ICU"},
        {CLocale::namePOSIX, L"posix", L"POSIX"},
    };
    writer.BeginGroup(L"namen", L"Name nach Schema");
    for (const auto& scheme : schemes)
        writer.Field(scheme.pszKey, scheme.pszLabel,
                     CReportValue::Text(locale.ToString(scheme.eFormat), kUnknown));
    writer.EndGroup();
}

/////////////////////////////////////////////////////////////////////////////
// Benutzer und Computer, Bildschirm und Maus, Datum und Uhrzeit, Arbeitsspeicher

void ReportSession(CReportWriter& writer)
{
    writer.Field(L"benutzer", L"Benutzer", CReportValue::Text(CSystem::GetUserName(), kUnknown));
    writer.Field(L"computer", L"Computer",
                 CReportValue::Text(CSystem::GetComputerName(), kUnknown));
}

void ReportScreen(CReportWriter& writer)
{
    const CSize size = CSystem::GetScreenResolution();
    writer.Field(L"breite", L"Breite",
                 CReportValue::Number(size.cx, CStringEx::Format(L"%ld Bildpunkte", size.cx)));
    writer.Field(L"hoehe", L"Höhe",
                 CReportValue::Number(size.cy, CStringEx::Format(L"%ld Bildpunkte", size.cy)));
    const BYTE nDepth = CSystem::GetScreenColorDepth();
    writer.Field(L"farbtiefe", L"Farbtiefe",
                 CReportValue::Number(nDepth, CStringEx::Format(L"%u Bit", nDepth)));
    writer.Field(L"maus", L"Maus", CReportValue::Bool(CSystem::HasMouse(), L"vorhanden", L"keine"));
    writer.Field(L"maustasten", L"Maustasten",
                 CReportValue::Number(CSystem::GetMouseButtonCount()));
}

CString LongDateTime(const CTime& time)
{
    CString strText =
        ReportLocale().FormatDateTime(time, CLocale::dateLong, CLocale::timeWithSeconds);
    return strText.IsEmpty() ? time.Format(L"%d.%m.%Y %H:%M:%S") : strText;
}

void ReportTime(CReportWriter& writer)
{
    const CTime local = CSystem::GetLocalDateTime();
    const CTime utc = CSystem::GetUTCDateTime();
    writer.Field(
        L"lokal", L"Ortszeit",
        CReportValue::Text(local.Format(L"%Y-%m-%dT%H:%M:%S"), LongDateTime(local), kUnknown));
    // The UTC record holds the UTC clock reading as if it were local time, so it
    // prints as it is and its distance from the local one is the zone's offset.
    writer.Field(L"utc", L"Weltzeit (UTC)",
                 CReportValue::Text(utc.Format(L"%Y-%m-%dT%H:%M:%SZ"), LongDateTime(utc) + L" UTC",
                                    kUnknown));
    const __int64 nSeconds = static_cast<__int64>(local.GetTime() - utc.GetTime());
    // Rounded, as the two clock readings may lie a second apart.
    const int nMinutes = static_cast<int>((nSeconds + (nSeconds < 0 ? -30 : 30)) / 60);
    const int nAbsolute = nMinutes < 0 ? -nMinutes : nMinutes;
    writer.Field(L"utcAbstandMinuten", L"Abstand zu UTC",
                 CReportValue::Number(nMinutes, CStringEx::Format(L"%c%d:%02d Std.",
                                                                  nMinutes < 0 ? L'-' : L'+',
                                                                  nAbsolute / 60, nAbsolute % 60)));
}

void ReportMemory(CReportWriter& writer)
{
    MEMORYSTATUS status;
    ::ZeroMemory(&status, sizeof(status));
    CSystem::GetMemoryStatus(status);
    writer.Field(L"auslastungProzent", L"Auslastung",
                 CReportValue::Number(status.dwMemoryLoad,
                                      CStringEx::Format(L"%lu %%", status.dwMemoryLoad)));
    writer.Field(L"physischGesamtBytes", L"Physisch gesamt", SizeValue(status.dwTotalPhys));
    writer.Field(L"physischFreiBytes", L"Physisch frei", SizeValue(status.dwAvailPhys));
    writer.Field(L"auslagerungGesamtBytes", L"Auslagerung gesamt",
                 SizeValue(status.dwTotalPageFile));
    writer.Field(L"auslagerungFreiBytes", L"Auslagerung frei", SizeValue(status.dwAvailPageFile));
    writer.Field(L"adressraumGesamtBytes", L"Adressraum gesamt", SizeValue(status.dwTotalVirtual));
    writer.Field(L"adressraumFreiBytes", L"Adressraum frei", SizeValue(status.dwAvailVirtual));
}

/////////////////////////////////////////////////////////////////////////////
// Sections and command line

struct Section
{
    LPCWSTR pszName; // --section and the JSON key
    LPCWSTR pszTitle;
    void (*pfnReport)(CReportWriter& writer);
};

const Section kSections[] = {
    {L"prozessoren", L"Prozessoren", ReportProcessors},
    {L"betriebssystem", L"Betriebssystem und Oberfläche", ReportOperatingSystem},
    {L"laufwerke", L"Laufwerke", ReportDrives},
    {L"ordner", L"Spezielle Ordner", ReportFolders},
    {L"schnittstellen", L"Schnittstellen", ReportPorts},
    {L"gebietsschema", L"Gebietsschema", ReportLocale},
    {L"sitzung", L"Benutzer und Computer", ReportSession},
    {L"bildschirm", L"Bildschirm und Maus", ReportScreen},
    {L"zeit", L"Datum und Uhrzeit", ReportTime},
    {L"speicher", L"Arbeitsspeicher", ReportMemory},
};
const int kSectionCount = sizeof(kSections) / sizeof(kSections[0]);

struct Options
{
    BOOL bJson = FALSE;
    BOOL bHelp = FALSE;
    // Empty: every section.
    std::vector<bool> chosen;
};

int FindSection(const CString& strName)
{
    for (int i = 0; i < kSectionCount; ++i) {
        if (strName.CompareNoCase(kSections[i].pszName) == 0)
            return i;
    }
    return -1;
}

// FALSE, with the reason in strError, when the command line is wrong.
BOOL ParseOptions(const CStringArray& args, Options& options, CString& strError)
{
    const CString strSectionEq = L"--section=";
    for (int i = 1; i < args.GetSize(); ++i) {
        const CString strArg = args.GetAt(i);
        if (strArg == L"--json") {
            options.bJson = TRUE;
        } else if (strArg == L"--help" || strArg == L"-h" || strArg == L"/?") {
            options.bHelp = TRUE;
        } else if (strArg == L"--section" ||
                   strArg.Left(strSectionEq.GetLength()) == strSectionEq) {
            CString strNames;
            if (strArg == L"--section") {
                if (i + 1 >= args.GetSize()) {
                    strError = L"Nach --section fehlt der Name eines Abschnitts.";
                    return FALSE;
                }
                strNames = args.GetAt(++i);
            } else {
                strNames = strArg.Mid(strSectionEq.GetLength());
            }
            CStringTokenizer tokens(strNames, L',');
            while (tokens.HasMoreTokens()) {
                CString strName = tokens.GetNextToken();
                strName.TrimLeft();
                strName.TrimRight();
                const int nSection = FindSection(strName);
                if (nSection < 0) {
                    strError = CStringEx::Format(L"Unbekannter Abschnitt „%s“.", (LPCWSTR)strName);
                    return FALSE;
                }
                options.chosen.resize(kSectionCount, false);
                options.chosen[nSection] = true;
            }
        } else {
            strError = CStringEx::Format(L"Unbekannte Option „%s“.", (LPCWSTR)strArg);
            return FALSE;
        }
    }
    return TRUE;
}

CString UsageLine()
{
    return L"Aufruf: WivoReport [--json] [--section NAME[,NAME...]]... [--help]\n";
}

CString HelpText()
{
    CString strHelp = CString(kReportTitle) + L"\n\n" + UsageLine() +
                      L"\n"
                      L"  --json          als JSON (UTF-8) statt als Text ausgeben\n"
                      L"  --section NAME  nur diesen Abschnitt ausgeben; für mehrere die Option\n"
                      L"                  wiederholen oder die Namen mit Kommas trennen\n"
                      L"  --help          diese Hilfe anzeigen\n"
                      L"\n"
                      L"Abschnitte (ohne --section alle, stets in dieser Reihenfolge):\n";
    for (const Section& section : kSections)
        strHelp += CStringEx::Format(L"  %-15s %s\n", section.pszName, section.pszTitle);
    strHelp += L"\nRückgabewert: 0 bei Erfolg, 1 wenn der Bericht scheitert, "
               L"2 bei falschem Aufruf.\n";
    return strHelp;
}

} // namespace

int main()
{
    CStdStream out(STD_OUTPUT_HANDLE);
    CStdStream err(STD_ERROR_HANDLE);

    // A drive without a medium is reported as such, not asked for in a message box.
    ::SetErrorMode(SEM_FAILCRITICALERRORS);

    CStringArray args;
    CSystem::GetCommandLineArgs(args);
    Options options;
    CString strError;
    if (!ParseOptions(args, options, strError)) {
        err.Write(L"WivoReport: " + strError + L"\n" + UsageLine() +
                  L"Mit --help erscheinen alle Optionen und Abschnitte.\n");
        return exitUsage;
    }
    if (options.bHelp) {
        out.Write(HelpText());
        return exitOK;
    }

    CTextReportWriter text(out);
    CJsonReportWriter json(out);
    CReportWriter& writer = options.bJson ? static_cast<CReportWriter&>(json) : text;
    try {
        writer.BeginReport(kReportTitle);
        for (int i = 0; i < kSectionCount; ++i) {
            if (!options.chosen.empty() && !options.chosen[i])
                continue;
            writer.BeginSection(kSections[i].pszName, kSections[i].pszTitle);
            kSections[i].pfnReport(writer);
            writer.EndSection();
        }
        writer.EndReport();
    } catch (CException* e) {
        wchar_t szMessage[512] = {};
        e->GetErrorMessage(szMessage, 512);
        e->Delete();
        err.Write(CString(L"WivoReport: Der Bericht ist gescheitert: ") + szMessage + L"\n");
        return exitFailed;
    }
    return exitOK;
}
