// FileVersionInfo.h - the version resource of a file or of a loaded module.
//
//   CFileVersionInfo   fixed file and product versions, file flags, OS and type, the
//                      list of language/code-page translations and the string entries
//                      of one chosen translation
//
// The whole resource is read once, in the constructor, and kept, so later lookups need
// no file access. Nothing throws: a file without a readable version resource gives
// HasVersionInfo() FALSE, zero numbers, the zero version and empty strings.
// The platform's version library is loaded when the first object is built.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "Version.h"

class AFX_EXT_CLASS CFileVersionInfo
{
public:
    // One entry of the resource's translation list, in the layout stored there.
    struct CTranslation
    {
        WORD wLanguage;   // language identifier, e.g. 0x0C07
        WORD wCodePage;   // code page, e.g. 1200 for UTF-16
    };
    typedef CArray<CTranslation, CTranslation&> CTranslationArray;

// Construction
    // Reads the resource of the file (full path, or a name the loader finds).
    CFileVersionInfo(const CString& strFileName);
    // Reads the resource of the module's file. An unknown handle gives an object with
    // no name and no version information.
    CFileVersionInfo(HINSTANCE hModule);
    ~CFileVersionInfo();

// Attributes
    CString GetFileName() const;
    // TRUE when the fixed part of the resource was found.
    BOOL HasVersionInfo() const;

// Fixed part (0, FALSE or the zero version without version information)
    CVersion GetFileVersion() const;
    CVersion GetProductVersion() const;
    WORD GetFileMajor() const;
    WORD GetFileMinor() const;
    WORD GetFileBuild() const;
    WORD GetFileRevision() const;
    WORD GetProductMajor() const;
    WORD GetProductMinor() const;
    WORD GetProductBuild() const;
    WORD GetProductRevision() const;

    // Only the flags that the resource's flags mask declares valid are reported.
    BOOL IsDebug() const;
    BOOL IsPreRelease() const;
    BOOL IsPatched() const;
    BOOL IsPrivateBuild() const;
    BOOL IsSpecialBuild() const;

    DWORD GetFileOS() const;
    DWORD GetFileType() const;
    DWORD GetFileSubType() const;
    // The zero CTime without version information.
    CTime GetFileCreationDateTime() const;

// Translations
    // All entries of the resource's list, in stored order.
    const CTranslationArray& GetTranslations() const;
    // The first entry of the list, (0, 0) when there is none.
    const CTranslation& GetCurrentTranslation() const;
    // Any pair is accepted, also one that is not in the list.
    void SetCurrentTranslation(const CTranslation& translation) const;

// String entries of the current translation (empty when missing there; other
// translations are not consulted)
    CString GetStringFileInfo(const CString& strEntryName) const;
    CString GetFileDescription() const;
    CString GetFileVersionString() const;
    CString GetProductName() const;
    CString GetProductVersionString() const;
    CString GetInternalName() const;
    CString GetOriginalFileName() const;
    CString GetCompanyName() const;
    CString GetLegalCopyright() const;
    CString GetLegalTrademarks() const;
    CString GetPrivateBuild() const;
    CString GetSpecialBuild() const;
    CString GetComments() const;

// Implementation
protected:
    void CommonConstruct();
    BOOL TestFileFlag(DWORD dwFlag) const;

    CString m_strFileName;
    BYTE* m_pVersionBlock;               // malloc'ed, the size the platform reported
    VS_FIXEDFILEINFO* m_pFixedInfo;      // inside m_pVersionBlock
    CTranslationArray m_translations;
    mutable CTranslation m_currentTranslation;

private:
    // The object owns its block; copies would free it twice.
    CFileVersionInfo(const CFileVersionInfo&);
    CFileVersionInfo& operator=(const CFileVersionInfo&);
};
