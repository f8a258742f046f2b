// OSInfo.cpp - COSInfo, the operating-system record and its description.
#include "OSInfo.h"

#include "StringEx.h"
#include "resource.h"

COSInfo::COSInfo() : m_os(osUnknown), m_version() {}

COSInfo::COSInfo(const COSInfo& other) : m_os(other.m_os), m_version(other.m_version) {}

const COSInfo& COSInfo::operator=(const COSInfo& other)
{
    m_os = other.m_os;
    m_version = other.m_version;
    return *this;
}

COSInfo COSInfo::FromVersionData(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor,
                                 DWORD dwBuild, DWORD dwCSDVersion)
{
    OS os = osUnknown;
    if (dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        os = osWin9xOther;
        if (dwMajor == 4) {
            if (dwMinor == 0)
                os = osWin95;
            else if (dwMinor == 10)
                os = osWin98;
            else if (dwMinor == 90)
                os = osWinMe;
        }
    } else if (dwPlatformId == VER_PLATFORM_WIN32_NT) {
        os = osWinNTOther;
        if (dwMajor == 3 || dwMajor == 4)
            os = osWinNT;
        else if (dwMajor == 5) {
            if (dwMinor == 0)
                os = osWin2000;
            else if (dwMinor == 1)
                os = osWinXP;
            else if (dwMinor == 2)
                os = osWinServer2003;
        } else if (dwMajor == 6 && dwMinor == 0)
            os = osWinVista;
    }

    COSInfo info;
    info.m_os = os;
    // 9x systems keep extra bits above the build number; each part is cut to 16 bits.
    info.m_version = CVersion((short)(WORD)dwMajor, (short)(WORD)dwMinor, (short)(WORD)dwBuild,
                              (short)(WORD)(dwCSDVersion >> 8));
    return info;
}

COSInfo::Platform COSInfo::GetPlatform() const
{
    return (Platform)((DWORD)m_os & 0xFF000000);
}

COSInfo::SubPlatform COSInfo::GetSubPlatform() const
{
    return (SubPlatform)((DWORD)m_os & 0xFFFF0000);
}

COSInfo::OS COSInfo::GetOS() const
{
    return m_os;
}

CVersion COSInfo::GetVersion() const
{
    return m_version;
}

CString COSInfo::GetVendorName() const
{
    if (GetPlatform() == platformWindows)
        return _T("Microsoft Corporation");
    return CStringEx::LoadString(IDS_UNKNOWN);
}

static void AppendPart(CString& strText, const CString& strPart)
{
    if (!strText.IsEmpty())
        strText += _T(' ');
    strText += strPart;
}

CString COSInfo::ToString(UINT nFlags) const
{
    CString strText;
    const Platform platform = GetPlatform();

    if (nFlags & strPlatform)
        AppendPart(strText, platform == platformWindows ? CString(_T("Windows"))
                                                        : CStringEx::LoadString(IDS_UNKNOWN));

    if (nFlags & strSubPlatform) {
        CString strSub;
        switch (GetSubPlatform()) {
        case subPlatformWin9x: strSub = _T("Windows"); break;
        case subPlatformWinNT: strSub = _T("Windows NT"); break;
        case subPlatformWinCE: strSub = _T("Windows CE"); break;
        default: strSub = CStringEx::LoadString(IDS_UNKNOWN); break;
        }
        AppendPart(strText, strSub);
    }

    if (nFlags & strVendor)
        AppendPart(strText, platform == platformWindows ? CString(_T("Microsoft"))
                                                        : CStringEx::LoadString(IDS_UNKNOWN));

    if (nFlags & strOS) {
        LPCTSTR pszName = NULL;
        switch (m_os) {
        case osWin95: pszName = _T("Windows 95"); break;
        case osWin98: pszName = _T("Windows 98"); break;
        case osWinMe: pszName = _T("Windows Me"); break;
        case osWinNT: pszName = _T("Windows NT"); break;
        case osWin2000: pszName = _T("Windows 2000"); break;
        case osWinXP: pszName = _T("Windows XP"); break;
        case osWinServer2003: pszName = _T("Windows Server 2003"); break;
        case osWinVista: pszName = _T("Windows Vista"); break;
        case osWinCE: pszName = _T("Windows CE"); break;
        default: break;
        }
        AppendPart(strText, pszName != NULL ? CString(pszName) : ToString(strSubPlatform));
        // A named release says enough; only the generic names need the number.
        if (m_os != osWin9xOther && m_os != osWinNTOther && m_os != osWinNT && m_os != osWinCE)
            nFlags &= ~(UINT)strVersion;
    }

    if (nFlags & strVersion) {
        CString strVersionText = m_version.ToString(3);
        if (nFlags & strBuild) {
            CString strBuildText;
            strBuildText.Format(_T(".%d"), (int)m_version.GetBuild());
            strVersionText += strBuildText;
            nFlags &= ~(UINT)strBuild;
        }
        AppendPart(strText, strVersionText);
    }

    const int nServicePack = m_version.GetRevision();
    if ((nFlags & strServicePack) && nServicePack >= 1) {
        if (nFlags & strOS) {
            CString strPack;
            strPack.Format(_T("%sService Pack %d"), (LPCTSTR)CStringEx::LoadString(IDS_WITH),
                           nServicePack);
            strText += strPack;
        } else {
            CString strPack;
            strPack.Format(_T("Service Pack %d"), nServicePack);
            AppendPart(strText, strPack);
        }
    }

    if (nFlags & strBuild) {
        CString strBuildText;
        strBuildText.Format(_T("Build %d"), (int)m_version.GetBuild());
        AppendPart(strText, strBuildText);
    }
    return strText;
}
