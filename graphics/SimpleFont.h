// SimpleFont.h - fonts by face name, point size and style.
//
//   CSimpleFont   a CFont made from a face name, a size in points and a set of
//                 style bits, keeping the description it was made from
#pragma once

#include <afxwin.h>

class AFX_EXT_CLASS CSimpleFont : public CFont
{
    DECLARE_DYNAMIC(CSimpleFont)

public:
    // Style bits; 0 is plain.
    enum
    {
        styleBold = 1,
        styleItalic = 2,
        styleUnderline = 4,
        styleStrikeOut = 8
    };

// Construction
    // The size is converted for pDC (the screen when NULL); the face name is
    // cut to 31 characters. Throws CResourceException when no font results.
    CSimpleFont(const CString& strFaceName, UINT nPointSize, int nStyle, CDC* pDC = NULL);
    virtual ~CSimpleFont();

// Attributes
    // The description as built: its height is in tenths of a point.
    const LOGFONTW& GetLogFont() const;
    using CFont::GetLogFont;
    CString GetFaceName() const;
    UINT GetPointSize() const;
    int GetStyle() const;
    BOOL HasPlainStyle() const;
    BOOL HasBoldStyle() const;
    BOOL HasItalicStyle() const;
    BOOL HasUnderlineStyle() const;
    BOOL HasStrikeOutStyle() const;

protected:
    LOGFONTW m_logFont;
    UINT m_nPointSize;
};
