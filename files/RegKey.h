// RegKey.h - one open key of the Windows registry.
//
//   CRegKey   opens or creates keys below a parent, reads and writes string, number,
//             binary and default values, lists subkeys and values, renames values and
//             deletes whole subtrees
//
// Two ways to fail, and which one a member uses is part of its contract:
//   - opening, creating, closing, the existence tests and the readers that take a
//     default never throw; they return a flag, a size or the default and leave the
//     registry's result code in GetLastError();
//   - counts, names, type, size, enumeration errors, writers, deletion, renaming and
//     EnsureOpen throw `new CRegKeyException(code)`; the catcher calls Delete().
//
// The object owns the handle it holds and closes it when it goes. Assignment copies the
// handle without duplicating it: afterwards only one of the two may close it, so empty
// the other with Detach. Attach, Open and Create overwrite the held handle without
// closing it; Close an object before reusing it.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include "Win32Exception.h"

class AFX_EXT_CLASS CRegKey
{
public:
// Construction
    // Holds no key; the last error is ERROR_INVALID_HANDLE.
    CRegKey();
    // Takes over hKey (null or a predefined root allowed).
    CRegKey(HKEY hKey);
    // Creates or opens the subkey (RegCreateKeyEx); on failure the object holds no key
    // and GetLastError says why.
    CRegKey(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess);
    ~CRegKey();

    // Copies handle and last error as they are; see above.
    CRegKey& operator=(const CRegKey& other);

// Attributes
    operator HKEY() const;
    HKEY GetHKey() const;
    LONG GetLastError() const;
    BOOL IsOpen() const;

// Handle
    BOOL Open(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess = KEY_READ | KEY_WRITE);
    BOOL Create(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess = KEY_READ | KEY_WRITE);
    // TRUE when no key was held or the key closed cleanly. Afterwards no key is held
    // and the last error is ERROR_INVALID_HANDLE (unchanged when there was nothing to
    // close).
    BOOL Close();
    void Attach(HKEY hKey);
    // Gives the handle to the caller, who closes it.
    HKEY Detach();
    // Throws with the last error when no key is held.
    void EnsureOpen() const;

// Queries (the existence tests never throw)
    BOOL DoesKeyExist(const CString& strSubKey) const;
    BOOL DoesValueExist(const CString& strValueName) const;
    DWORD GetSubKeyCount() const;
    DWORD GetValueCount() const;
    FILETIME GetLastWriteTime() const;
    DWORD GetValueType(const CString& strValueName) const;
    // In bytes; a string's size counts its terminator.
    UINT GetValueSize(const CString& strValueName) const;
    // Names of at most 255 characters; a longer one throws ERROR_MORE_DATA.
    void GetSubKeyNames(CStringArray& names) const;
    void GetValueNames(CStringArray& names) const;
    // nDataSize goes in as the capacity of pData in bytes (pData may be null to learn
    // the size) and comes back as the value's size. FALSE past the last value; any
    // other failure throws.
    BOOL EnumValue(UINT nIndex, CString& strName, DWORD& dwType, void* pData,
                   UINT& nDataSize) const;

// Typed reads (never throw)
    // REG_SZ or REG_EXPAND_SZ, the latter unexpanded; anything else gives the default.
    CString GetStringValue(const CString& strValueName, const CString& strDefault) const;
    // Only a REG_DWORD of exactly four bytes counts.
    DWORD GetDWordValue(const CString& strValueName, DWORD dwDefault) const;
    // The raw bytes of a value of any type. Returns the value's size, copying nothing
    // when nBufferSize is smaller (pass 0 to learn the size), or 0 on failure.
    UINT GetBinaryValue(const CString& strValueName, void* pBuffer, UINT nBufferSize) const;
    CString GetDefaultValueAsString(const CString& strDefault) const;
    DWORD GetDefaultValueAsDWord(DWORD dwDefault) const;
    UINT GetDefaultValueAsBinary(void* pBuffer, UINT nBufferSize);

// Writes and changes (throw on failure)
    void SetStringValue(const CString& strValueName, const CString& strValue);
    void SetDWordValue(const CString& strValueName, DWORD dwValue);
    void SetBinaryValue(const CString& strValueName, const void* pData, UINT nSize);
    void SetDefaultValue(const CString& strValue);
    void SetDefaultValue(DWORD dwValue);
    void SetDefaultValue(const void* pData, UINT nSize);
    void DeleteValue(const CString& strValueName);
    // Throws ERROR_FILE_EXISTS, changing nothing, when the new name is taken.
    void RenameValue(const CString& strOldName, const CString& strNewName);
    // Deletes the subkey and everything below it.
    void DeleteSubKey(const CString& strSubKey);

// Implementation
protected:
    static BOOL IsString(DWORD dwType);
    void SetLastError(LONG lError) const;

    HKEY m_hKey;
    mutable LONG m_lLastError;

private:
    template <class Enumerate>
    void FillNames(CStringArray& names, DWORD dwCount, Enumerate enumerate) const;

    // Not copy-constructible: a silent copy would share the handle and close it twice
    // when both go. Assignment is the explicit way to share.
    CRegKey(const CRegKey&);
};
