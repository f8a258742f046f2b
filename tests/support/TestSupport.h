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

} // namespace wivotest
