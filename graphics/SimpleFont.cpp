// SimpleFont.cpp - fonts by face name, point size and style.
#include "SimpleFont.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CSimpleFont, CFont)

CSimpleFont::CSimpleFont(const CString& strFaceName, UINT nPointSize, int nStyle, CDC* pDC)
    : m_nPointSize(nPointSize)
{
    memset(&m_logFont, 0, sizeof(m_logFont));
    m_logFont.lfHeight = (LONG)(nPointSize * 10);
    m_logFont.lfWeight = (nStyle & styleBold) ? FW_BOLD : FW_NORMAL;
    m_logFont.lfItalic = (nStyle & styleItalic) ? 1 : 0;
    m_logFont.lfUnderline = (nStyle & styleUnderline) ? 1 : 0;
    m_logFont.lfStrikeOut = (nStyle & styleStrikeOut) ? 1 : 0;
    m_logFont.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(m_logFont.lfFaceName, strFaceName, LF_FACESIZE);
    if (!CreatePointFontIndirect(&m_logFont, pDC))
        AfxThrowResourceException();
}

CSimpleFont::~CSimpleFont()
{
    DeleteObject();
}

const LOGFONTW& CSimpleFont::GetLogFont() const
{
    return m_logFont;
}

CString CSimpleFont::GetFaceName() const
{
    return CString(m_logFont.lfFaceName);
}

UINT CSimpleFont::GetPointSize() const
{
    return m_nPointSize;
}

int CSimpleFont::GetStyle() const
{
    return (HasBoldStyle() ? styleBold : 0) | (m_logFont.lfItalic ? styleItalic : 0)
        | (m_logFont.lfUnderline ? styleUnderline : 0)
        | (m_logFont.lfStrikeOut ? styleStrikeOut : 0);
}

BOOL CSimpleFont::HasPlainStyle() const
{
    return GetStyle() == 0;
}

BOOL CSimpleFont::HasBoldStyle() const
{
    return m_logFont.lfWeight > FW_NORMAL;
}

BOOL CSimpleFont::HasItalicStyle() const
{
    return m_logFont.lfItalic;
}

BOOL CSimpleFont::HasUnderlineStyle() const
{
    return m_logFont.lfUnderline;
}

BOOL CSimpleFont::HasStrikeOutStyle() const
{
    return m_logFont.lfStrikeOut;
}
