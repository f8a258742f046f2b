// Helpers shared by the test programs.
#pragma once

#include <afx.h>

#include <string>

namespace wivotest {

// Number of kernel handles the process holds now (also under Wine, whose
// GetProcessHandleCount always answers 0).
DWORD ProcessHandleCount();

// A fresh, empty directory under the temporary folder, removed with its files
// when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const CString& Path() const { return m_path; }
    CString File(LPCTSTR name) const;

private:
    CString m_path;
};

// Reads a whole file's bytes (empty when it cannot be read).
std::string ReadFileBytes(LPCTSTR path);
// Writes bytes to a file, replacing it. Returns false on failure.
bool WriteFileBytes(LPCTSTR path, const std::string& bytes);

// Narrow form of a wide text for test failure messages.
std::string Narrow(LPCWSTR text);

// Starts nThreads threads that each wait for one event, releases them all at once so that
// they run body(index) together, and waits for every one to end. Returns an empty text
// when all started, ended within dwTimeout and returned true; otherwise what went wrong.
std::string RunAtOnce(int nThreads, bool (*body)(int index, void* context), void* context,
                      DWORD dwTimeout = 60000);

// Runs f; when it throws an E*, returns what get makes of it (and deletes it); returns
// fallback when f throws nothing. Other exceptions pass on.
template <class E, class R, class F, class G>
R CaughtAs(F f, G get, R fallback)
{
    try {
        f();
    } catch (E* e) {
        R result = get(e);
        e->Delete();
        return result;
    }
    return fallback;
}

} // namespace wivotest
