// GUIInfo.h - what the graphical user interface is.
//
//   CGUIInfo   the GUI as one code (type in bits 8-15) and its version
//
// Only CSystem creates the record (CSystem::GetGUIInfo); callers copy it. The code is 0
// and the version undefined when the operating system was not recognised.
#pragma once

#include <afx.h>

#include "Version.h"

class COSInfo;

class AFX_EXT_CLASS CGUIInfo
{
    friend class CSystem;

public:
    enum GUIType
    {
        guiTypeUnknown = 0,
        guiTypeWindows = 0x0100,
    };

    enum GUI
    {
        guiUnknown = 0,
        guiWindows = 0x0101,
    };

    // Parts chosen by the flags of ToString.
    enum
    {
        strGUIType = 0x01,
        strGUI = 0x02,
        strVersion = 0x04,
        strServicePack = 0x08,
    };

// Construction
protected:
    CGUIInfo();

public:
    CGUIInfo(const CGUIInfo& other);
    const CGUIInfo& operator=(const CGUIInfo& other);

    // The GUI of a system: Windows with the system's version when the system was
    // recognised, otherwise the empty record.
    static CGUIInfo FromOSInfo(const COSInfo& osInfo);

// Attributes
    GUIType GetGUIType() const;
    GUI GetGUI() const;
    CVersion GetVersion() const;

// Operations
    CString ToString(UINT nFlags = strGUI | strVersion | strServicePack) const;

// Implementation
private:
    GUI m_gui;
    CVersion m_version;
};
