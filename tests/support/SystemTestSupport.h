// Helpers of the system tests, which change machine settings of the prefix for a moment.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace wivotest {

// One value of a registry key (pszName), or all of them (NULL), removed for the test and
// written back as they were when the object goes, whatever the test wrote removed; a key
// that was missing is removed again with its subkeys.
class SavedRegistryValues
{
public:
    SavedRegistryValues(HKEY hRoot, LPCWSTR pszPath, LPCWSTR pszName = NULL)
        : m_hRoot(hRoot), m_strPath(pszPath), m_strName(pszName ? pszName : L"")
    {
        HKEY hKey = NULL;
        m_bKeyExisted = ::RegOpenKeyExW(hRoot, pszPath, 0, KEY_READ, &hKey) == ERROR_SUCCESS;
        if (m_bKeyExisted)
            ::RegCloseKey(hKey);
        m_bOk = ::RegCreateKeyExW(hRoot, pszPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey,
                                  NULL) == ERROR_SUCCESS;
        if (!m_bOk)
            return;
        std::vector<WCHAR> name(16384);
        for (DWORD i = 0; pszName == NULL; i++) {
            DWORD cch = (DWORD)name.size();
            if (::RegEnumValueW(m_hKey, i, name.data(), &cch, NULL, NULL, NULL, NULL) !=
                ERROR_SUCCESS)
                break;
            Save(name.data());
        }
        if (pszName != NULL)
            Save(pszName);
        Clear();
    }
    ~SavedRegistryValues()
    {
        if (!m_bOk)
            return;
        Clear();
        for (const Value& v : m_saved)
            ::RegSetValueExW(m_hKey, v.name.c_str(), 0, v.type, v.data.data(),
                             (DWORD)v.data.size());
        ::RegCloseKey(m_hKey);
        if (!m_bKeyExisted) {
            ::RegDeleteTreeW(m_hRoot, m_strPath);
            ::RegDeleteKeyW(m_hRoot, m_strPath);
        }
    }
    SavedRegistryValues(const SavedRegistryValues&) = delete;
    SavedRegistryValues& operator=(const SavedRegistryValues&) = delete;

    bool IsOk() const { return m_bOk; }
    LONG Set(LPCWSTR pszName, LPCWSTR pszText, DWORD dwType = REG_SZ)
    {
        return ::RegSetValueExW(m_hKey, pszName, 0, dwType, (const BYTE*)pszText,
                                (DWORD)(wcslen(pszText) + 1) * sizeof(WCHAR));
    }
    LONG SetDWord(LPCWSTR pszName, DWORD dwValue)
    {
        return ::RegSetValueExW(m_hKey, pszName, 0, REG_DWORD, (const BYTE*)&dwValue, 4);
    }
    void Delete(LPCWSTR pszName) { ::RegDeleteValueW(m_hKey, pszName); }

private:
    struct Value
    {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    void Save(LPCWSTR pszName)
    {
        DWORD type = 0, cb = 0;
        if (::RegQueryValueExW(m_hKey, pszName, NULL, &type, NULL, &cb) != ERROR_SUCCESS)
            return;
        Value v = {pszName, type, std::vector<BYTE>(cb + 2)};
        ::RegQueryValueExW(m_hKey, pszName, NULL, NULL, v.data.data(), &cb);
        v.data.resize(cb);
        m_saved.push_back(v);
    }
    void Clear()
    {
        if (!m_strName.IsEmpty()) {
            ::RegDeleteValueW(m_hKey, m_strName);
            return;
        }
        std::vector<WCHAR> name(16384);
        DWORD cch = (DWORD)name.size();
        while (::RegEnumValueW(m_hKey, 0, name.data(), &cch, NULL, NULL, NULL, NULL) ==
                   ERROR_SUCCESS &&
               ::RegDeleteValueW(m_hKey, name.data()) == ERROR_SUCCESS)
            cch = (DWORD)name.size();
    }

    HKEY m_hRoot;
    CString m_strPath, m_strName;
    HKEY m_hKey = NULL;
    bool m_bKeyExisted = false, m_bOk = false;
    std::vector<Value> m_saved;
};

// "A,B,C" of a list the library filled.
inline std::string Joined(const CStringArray& items)
{
    std::string text;
    for (int i = 0; i < items.GetSize(); i++)
        text += (i ? "," : "") + Narrow(items[i]);
    return text;
}

} // namespace wivotest
