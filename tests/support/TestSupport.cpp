#include "TestSupport.h"

#include <shellapi.h>

namespace wivotest {

DWORD ProcessHandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

TempDir::TempDir()
{
    WCHAR base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (unsigned attempt = GetTickCount();; ++attempt) {
        CString candidate;
        candidate.Format(L"%swivo-%lu-%u", base, GetCurrentProcessId(), attempt);
        if (CreateDirectoryW(candidate, NULL)) {
            m_path = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TempDir::~TempDir()
{
    if (m_path.IsEmpty())
        return;
    // SHFileOperation wants a double-NUL terminated list.
    std::wstring from(static_cast<LPCWSTR>(m_path));
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

CString TempDir::File(LPCTSTR name) const
{
    return m_path + L"\\" + name;
}

std::string ReadFileBytes(LPCTSTR path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, NULL) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(h);
    return bytes;
}

bool WriteFileBytes(LPCTSTR path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string Narrow(LPCWSTR text)
{
    if (text == NULL)
        return "(null)";
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, NULL, NULL);
    return out;
}

} // namespace wivotest
