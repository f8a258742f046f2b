#include "TestSupport.h"

#include <shellapi.h>

#include <vector>

namespace wivotest {

DWORD ProcessHandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;

    // Wine answers 0 there, which would make every leak check pass. Its system
    // handle table is kept, so count this process's entries in it instead.
    struct Entry
    {
        PVOID object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT backTrace;
        USHORT type;
        ULONG attributes;
        ULONG reserved;
    };
    struct Table
    {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    typedef LONG(NTAPI * QueryFn)(ULONG, PVOID, ULONG, PULONG);
    const ULONG kExtendedHandleInformation = 64;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    QueryFn query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == NULL)
        return 0;
    std::vector<BYTE> buffer(64 * 1024);
    LONG status;
    while ((status = query(kExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), NULL)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    for (ULONG_PTR i = 0; i < table->count; ++i)
        if (table->entries[i].processId == GetCurrentProcessId())
            ++count;
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

#include <process.h>

namespace wivotest {

namespace {

struct AtOnceArg
{
    HANDLE hStart;
    bool (*body)(int, void*);
    void* context;
    int index;
};

unsigned __stdcall RunWhenReleased(void* p)
{
    const AtOnceArg* arg = static_cast<const AtOnceArg*>(p);
    if (::WaitForSingleObject(arg->hStart, 10000) != WAIT_OBJECT_0)
        return 2;
    return arg->body(arg->index, arg->context) ? 0 : 1;
}

} // namespace

std::string RunAtOnce(int nThreads, bool (*body)(int, void*), void* context, DWORD dwTimeout)
{
    HANDLE hStart = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    if (hStart == NULL)
        return "no start event";
    std::vector<AtOnceArg> args(nThreads);
    std::vector<HANDLE> threads;
    std::string problems;
    for (int i = 0; i < nThreads; i++) {
        args[i] = {hStart, body, context, i};
        HANDLE h = (HANDLE)_beginthreadex(NULL, 0, RunWhenReleased, &args[i], 0, NULL);
        if (h == NULL) {
            problems += "thread " + std::to_string(i) + " did not start; ";
            break;
        }
        threads.push_back(h);
    }
    // The threads started must end before their arguments go.
    ::SetEvent(hStart);
    if (!threads.empty() &&
        ::WaitForMultipleObjects((DWORD)threads.size(), threads.data(), TRUE, dwTimeout) !=
            WAIT_OBJECT_0)
        problems += "not all threads ended in time; ";
    for (size_t i = 0; i < threads.size(); i++) {
        DWORD code = 99;
        ::GetExitCodeThread(threads[i], &code);
        if (code != 0)
            problems += "thread " + std::to_string(i) + " exit code " + std::to_string(code) + "; ";
        ::CloseHandle(threads[i]);
    }
    ::CloseHandle(hStart);
    return problems;
}

} // namespace wivotest
