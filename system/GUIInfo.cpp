// GUIInfo.cpp - CGUIInfo, the GUI record and its description.
#include "GUIInfo.h"

#include "OSInfo.h"
#include "StringEx.h"
#include "resource.h"

CGUIInfo::CGUIInfo() : m_gui(guiUnknown), m_version() {}

CGUIInfo::CGUIInfo(const CGUIInfo& other) : m_gui(other.m_gui), m_version(other.m_version) {}

const CGUIInfo& CGUIInfo::operator=(const CGUIInfo& other)
{
    m_gui = other.m_gui;
    m_version = other.m_version;
    return *this;
}

CGUIInfo CGUIInfo::FromOSInfo(const COSInfo& osInfo)
{
    CGUIInfo info;
    if (osInfo.GetOS() != COSInfo::osUnknown) {
        // Every system this library knows draws its own Windows interface.
        info.m_gui = guiWindows;
        info.m_version = osInfo.GetVersion();
    }
    return info;
}

CGUIInfo::GUIType CGUIInfo::GetGUIType() const
{
    return (GUIType)((DWORD)m_gui & 0xFF00);
}

CGUIInfo::GUI CGUIInfo::GetGUI() const
{
    return m_gui;
}

CVersion CGUIInfo::GetVersion() const
{
    return m_version;
}

CString CGUIInfo::ToString(UINT nFlags) const
{
    CString strText;
    if (nFlags & strGUIType)
        strText = _T("Windows");
    if (nFlags & strGUI) {
        if (!strText.IsEmpty())
            strText += _T(' ');
        strText += _T("Windows");
    }
    if (nFlags & strVersion) {
        if (!strText.IsEmpty())
            strText += _T(' ');
        strText += m_version.ToString(3);
    }
    const int nServicePack = m_version.GetRevision();
    if ((nFlags & strServicePack) && nServicePack >= 1) {
        CString strPack;
        if (nFlags & strGUI) {
            strPack.Format(_T("%sService Pack %d"), (LPCTSTR)CStringEx::LoadString(IDS_WITH),
                           nServicePack);
        } else {
            if (!strText.IsEmpty())
                strText += _T(' ');
            strPack.Format(_T("Service Pack %d"), nServicePack);
        }
        strText += strPack;
    }
    return strText;
}
