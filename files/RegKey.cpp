// RegKey.cpp - CRegKey: registry keys and their values.
#include "RegKey.h"

namespace {

// Subkey and value names are listed through buffers of this many units, terminator
// included, so names of up to 255 characters can be listed.
const DWORD kNameBufferLength = 256;

// The platform lets names of up to 16383 characters exist; a longer one than the
// buffer takes fails the enumeration with ERROR_MORE_DATA, and the buffer's last unit
// is forced to a terminator so whatever it was left holding is still a string.
inline void TerminateName(WCHAR (&szName)[kNameBufferLength])
{
    szName[kNameBufferLength - 1] = L'\0';
}

[[noreturn]] inline void ThrowRegKeyException(LONG lError)
{
    throw new CRegKeyException(lError);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CRegKey::CRegKey()
    : m_hKey(NULL), m_lLastError(ERROR_INVALID_HANDLE)
{
}

CRegKey::CRegKey(HKEY hKey)
    : m_hKey(hKey), m_lLastError(hKey != NULL ? ERROR_SUCCESS : ERROR_INVALID_HANDLE)
{
}

CRegKey::CRegKey(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess)
    : m_hKey(NULL), m_lLastError(ERROR_INVALID_HANDLE)
{
    Create(hKeyParent, strSubKey, dwAccess);
}

CRegKey::~CRegKey()
{
    Close();
}

CRegKey& CRegKey::operator=(const CRegKey& other)
{
    m_hKey = other.m_hKey;
    m_lLastError = other.m_lLastError;
    return *this;
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

CRegKey::operator HKEY() const
{
    return m_hKey;
}

HKEY CRegKey::GetHKey() const
{
    return m_hKey;
}

LONG CRegKey::GetLastError() const
{
    return m_lLastError;
}

BOOL CRegKey::IsOpen() const
{
    return m_hKey != NULL;
}

BOOL CRegKey::IsString(DWORD dwType)
{
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ;
}

void CRegKey::SetLastError(LONG lError) const
{
    m_lLastError = lError;
}

/////////////////////////////////////////////////////////////////////////////
// Handle

BOOL CRegKey::Open(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess)
{
    // Whatever the platform leaves in the output on failure, the object then holds
    // no key.
    HKEY hKey = NULL;
    LONG lResult = ::RegOpenKeyExW(hKeyParent, strSubKey, 0, dwAccess, &hKey);
    m_hKey = lResult == ERROR_SUCCESS ? hKey : NULL;
    SetLastError(lResult);
    return lResult == ERROR_SUCCESS;
}

BOOL CRegKey::Create(HKEY hKeyParent, const CString& strSubKey, DWORD dwAccess)
{
    HKEY hKey = NULL;
    DWORD dwDisposition = 0;
    LONG lResult = ::RegCreateKeyExW(hKeyParent, strSubKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                     dwAccess, NULL, &hKey, &dwDisposition);
    m_hKey = lResult == ERROR_SUCCESS ? hKey : NULL;
    SetLastError(lResult);
    return lResult == ERROR_SUCCESS;
}

BOOL CRegKey::Close()
{
    if (m_hKey == NULL)
        return TRUE;
    LONG lResult = ::RegCloseKey(m_hKey);
    m_hKey = NULL;
    SetLastError(ERROR_INVALID_HANDLE);
    return lResult == ERROR_SUCCESS;
}

void CRegKey::Attach(HKEY hKey)
{
    m_hKey = hKey;
    SetLastError(hKey != NULL ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

HKEY CRegKey::Detach()
{
    HKEY hKey = m_hKey;
    m_hKey = NULL;
    SetLastError(ERROR_INVALID_HANDLE);
    return hKey;
}

void CRegKey::EnsureOpen() const
{
    // A failed Open or Create left its reason in the last error; report that rather
    // than a bare "invalid handle".
    if (m_hKey == NULL)
        ThrowRegKeyException(m_lLastError);
}

/////////////////////////////////////////////////////////////////////////////
// Queries

BOOL CRegKey::DoesKeyExist(const CString& strSubKey) const
{
    if (m_hKey == NULL)
        return FALSE;
    HKEY hSubKey = NULL;
    LONG lResult = ::RegOpenKeyExW(m_hKey, strSubKey, 0, KEY_QUERY_VALUE, &hSubKey);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        return FALSE;
    ::RegCloseKey(hSubKey);
    return TRUE;
}

BOOL CRegKey::DoesValueExist(const CString& strValueName) const
{
    if (m_hKey == NULL)
        return FALSE;
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, NULL, NULL, NULL);
    SetLastError(lResult);
    return lResult == ERROR_SUCCESS;
}

DWORD CRegKey::GetSubKeyCount() const
{
    EnsureOpen();
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryInfoKeyW(m_hKey, NULL, NULL, NULL, &dwCount, NULL, NULL, NULL,
                                      NULL, NULL, NULL, NULL);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
    return dwCount;
}

DWORD CRegKey::GetValueCount() const
{
    EnsureOpen();
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryInfoKeyW(m_hKey, NULL, NULL, NULL, NULL, NULL, NULL, &dwCount,
                                      NULL, NULL, NULL, NULL);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
    return dwCount;
}

FILETIME CRegKey::GetLastWriteTime() const
{
    EnsureOpen();
    FILETIME ft = { 0, 0 };
    LONG lResult = ::RegQueryInfoKeyW(m_hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
                                      NULL, NULL, NULL, &ft);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
    return ft;
}

DWORD CRegKey::GetValueType(const CString& strValueName) const
{
    EnsureOpen();
    DWORD dwType = REG_NONE;
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, &dwType, NULL, NULL);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
    return dwType;
}

UINT CRegKey::GetValueSize(const CString& strValueName) const
{
    EnsureOpen();
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, NULL, NULL, &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
    return cbData;
}

// Fills names with the dwCount names that enumerate(index, buffer, length) yields.
// Emptied first, so after a failure the names not yet reached read empty.
template <class Enumerate>
void CRegKey::FillNames(CStringArray& names, DWORD dwCount, Enumerate enumerate) const
{
    names.RemoveAll();
    names.SetSize((int)dwCount);
    for (DWORD i = 0; i < dwCount; ++i) {
        WCHAR szName[kNameBufferLength];
        DWORD cchName = kNameBufferLength;
        LONG lResult = enumerate(i, szName, &cchName);
        SetLastError(lResult);
        if (lResult != ERROR_SUCCESS)
            ThrowRegKeyException(lResult);
        TerminateName(szName);
        names.SetAt((int)i, szName);
    }
}

void CRegKey::GetSubKeyNames(CStringArray& names) const
{
    EnsureOpen();
    FillNames(names, GetSubKeyCount(), [this](DWORD i, LPWSTR pszName, LPDWORD pcchName) {
        return ::RegEnumKeyExW(m_hKey, i, pszName, pcchName, NULL, NULL, NULL, NULL);
    });
}

void CRegKey::GetValueNames(CStringArray& names) const
{
    EnsureOpen();
    FillNames(names, GetValueCount(), [this](DWORD i, LPWSTR pszName, LPDWORD pcchName) {
        return ::RegEnumValueW(m_hKey, i, pszName, pcchName, NULL, NULL, NULL, NULL);
    });
}

BOOL CRegKey::EnumValue(UINT nIndex, CString& strName, DWORD& dwType, void* pData,
                        UINT& nDataSize) const
{
    EnsureOpen();
    WCHAR szName[kNameBufferLength];
    szName[0] = L'\0';
    DWORD cchName = kNameBufferLength;
    DWORD cbData = nDataSize;
    LONG lResult = ::RegEnumValueW(m_hKey, nIndex, szName, &cchName, NULL, &dwType,
                                   static_cast<LPBYTE>(pData), &cbData);
    SetLastError(lResult);
    TerminateName(szName);
    strName = szName;
    nDataSize = cbData;
    if (lResult == ERROR_SUCCESS)
        return TRUE;
    if (lResult == ERROR_NO_MORE_ITEMS)
        return FALSE;
    ThrowRegKeyException(lResult);
}

/////////////////////////////////////////////////////////////////////////////
// Typed reads

CString CRegKey::GetStringValue(const CString& strValueName, const CString& strDefault) const
{
    if (m_hKey == NULL)
        return strDefault;

    DWORD dwType = REG_NONE;
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, &dwType, NULL, &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS || !IsString(dwType))
        return strDefault;
    // CString cannot hold more than INT_MAX units; no real string comes near that.
    if (cbData / sizeof(WCHAR) >= (DWORD)INT_MAX)
        return strDefault;

    CString strValue;
    int cchBuffer = (int)(cbData / sizeof(WCHAR));
    // GetBuffer adds room for a terminator, so an odd byte count still fits.
    LPWSTR pszBuffer = strValue.GetBuffer(cchBuffer);
    lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, &dwType,
                                 reinterpret_cast<LPBYTE>(pszBuffer), &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS || !IsString(dwType)) {
        strValue.ReleaseBuffer(0);
        return strDefault;
    }
    // Stored strings need not be terminated; terminate after what was read and cut at
    // the first terminator inside it.
    pszBuffer[cbData / sizeof(WCHAR)] = L'\0';
    strValue.ReleaseBuffer();
    return strValue;
}

DWORD CRegKey::GetDWordValue(const CString& strValueName, DWORD dwDefault) const
{
    if (m_hKey == NULL)
        return dwDefault;
    DWORD dwType = REG_NONE;
    DWORD dwValue = 0;
    DWORD cbData = sizeof(dwValue);
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, &dwType,
                                      reinterpret_cast<LPBYTE>(&dwValue), &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || cbData != sizeof(dwValue))
        return dwDefault;
    return dwValue;
}

UINT CRegKey::GetBinaryValue(const CString& strValueName, void* pBuffer, UINT nBufferSize) const
{
    if (m_hKey == NULL)
        return 0;
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, NULL, NULL, &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        return 0;
    if (nBufferSize < cbData)
        return cbData;
    lResult = ::RegQueryValueExW(m_hKey, strValueName, NULL, NULL,
                                 static_cast<LPBYTE>(pBuffer), &cbData);
    SetLastError(lResult);
    return lResult == ERROR_SUCCESS ? cbData : 0;
}

CString CRegKey::GetDefaultValueAsString(const CString& strDefault) const
{
    return GetStringValue(CString(), strDefault);
}

DWORD CRegKey::GetDefaultValueAsDWord(DWORD dwDefault) const
{
    return GetDWordValue(CString(), dwDefault);
}

UINT CRegKey::GetDefaultValueAsBinary(void* pBuffer, UINT nBufferSize)
{
    return GetBinaryValue(CString(), pBuffer, nBufferSize);
}

/////////////////////////////////////////////////////////////////////////////
// Writes and changes

void CRegKey::SetStringValue(const CString& strValueName, const CString& strValue)
{
    EnsureOpen();
    LPCWSTR pszValue = strValue;
    DWORD cbData = (DWORD)(strValue.GetLength() + 1) * sizeof(WCHAR);
    LONG lResult = ::RegSetValueExW(m_hKey, strValueName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(pszValue), cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
}

void CRegKey::SetDWordValue(const CString& strValueName, DWORD dwValue)
{
    EnsureOpen();
    LONG lResult = ::RegSetValueExW(m_hKey, strValueName, 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
}

void CRegKey::SetBinaryValue(const CString& strValueName, const void* pData, UINT nSize)
{
    EnsureOpen();
    // The platform would read nSize bytes from a null pointer; refuse as Windows does
    // for a buffer it cannot read.
    LONG lResult = (pData == NULL && nSize != 0)
        ? (LONG)ERROR_NOACCESS
        : ::RegSetValueExW(m_hKey, strValueName, 0, REG_BINARY,
                           static_cast<const BYTE*>(pData), nSize);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
}

void CRegKey::SetDefaultValue(const CString& strValue)
{
    SetStringValue(CString(), strValue);
}

void CRegKey::SetDefaultValue(DWORD dwValue)
{
    SetDWordValue(CString(), dwValue);
}

void CRegKey::SetDefaultValue(const void* pData, UINT nSize)
{
    SetBinaryValue(CString(), pData, nSize);
}

void CRegKey::DeleteValue(const CString& strValueName)
{
    EnsureOpen();
    LONG lResult = ::RegDeleteValueW(m_hKey, strValueName);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
}

void CRegKey::RenameValue(const CString& strOldName, const CString& strNewName)
{
    EnsureOpen();

    LONG lResult = ::RegQueryValueExW(m_hKey, strNewName, NULL, NULL, NULL, NULL);
    SetLastError(lResult);
    if (lResult == ERROR_SUCCESS)
        ThrowRegKeyException(ERROR_FILE_EXISTS);

    DWORD cbData = 0;
    lResult = ::RegQueryValueExW(m_hKey, strOldName, NULL, NULL, NULL, &cbData);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);

    // Copy, then delete: a failure before the delete leaves the old value in place.
    BYTE* pData = new BYTE[cbData != 0 ? cbData : 1];
    DWORD dwType = REG_NONE;
    lResult = ::RegQueryValueExW(m_hKey, strOldName, NULL, &dwType, pData, &cbData);
    SetLastError(lResult);
    if (lResult == ERROR_SUCCESS) {
        lResult = ::RegSetValueExW(m_hKey, strNewName, 0, dwType, pData, cbData);
        SetLastError(lResult);
    }
    delete[] pData;
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);

    DeleteValue(strOldName);
}

void CRegKey::DeleteSubKey(const CString& strSubKey)
{
    EnsureOpen();

    // A key with subkeys cannot be deleted, so empty it depth first. Opening it by
    // creating means a missing subkey is made and removed again, which succeeds.
    CRegKey child(m_hKey, strSubKey, KEY_READ);
    if (!child.IsOpen())
        ThrowRegKeyException(child.GetLastError());

    // Always index 0: each deletion moves the next subkey there.
    for (;;) {
        WCHAR szName[kNameBufferLength];
        DWORD cchName = kNameBufferLength;
        if (::RegEnumKeyExW(child.m_hKey, 0, szName, &cchName, NULL, NULL, NULL, NULL)
            != ERROR_SUCCESS)
            break;
        child.DeleteSubKey(szName);
    }
    child.Close();

    LONG lResult = ::RegDeleteKeyW(m_hKey, strSubKey);
    SetLastError(lResult);
    if (lResult != ERROR_SUCCESS)
        ThrowRegKeyException(lResult);
}
