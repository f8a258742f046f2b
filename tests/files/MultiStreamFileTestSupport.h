// Helpers shared by the container tests: an independent writer of expected container
// bytes, and small wrappers around CMultiStreamFile.
#pragma once

#include <Wivo.h>

#include "TestSupport.h"

#include <string>
#include <vector>

namespace msftest {

inline DWORD HandleCount()
{
    return wivotest::ProcessHandleCount();
}

// The first exceptions thrown from the library and from the framework and caught
// here make the C++ run-time of each module take a few handles for good. Tests that
// compare handle counts throw those first.
inline void WarmUpExceptions()
{
    try {
        CMultiStreamFile file;
        file.GetLength();       // no current stream
    } catch (CException* e) {
        e->Delete();
    }
    try {
        CFile file;
        file.GetLength();       // no file
    } catch (CException* e) {
        e->Delete();
    }
}

// Upper-case hex of the bytes, two digits each, no separators.
inline std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Hex written for reading, with spaces and bars between the fields, as Hex gives it.
inline std::string Unspaced(const char* text)
{
    std::string out;
    for (; *text != 0; ++text) {
        if (*text != ' ' && *text != '|')
            out += *text;
    }
    return out;
}

inline std::string Dword(DWORD dw)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = (char)(dw >> (8 * i));
    return s;
}

inline void PutDword(std::string& bytes, size_t offset, DWORD dw)
{
    bytes.replace(offset, 4, Dword(dw));
}

inline DWORD GetDword(const std::string& bytes, size_t offset)
{
    DWORD dw = 0;
    for (int i = 3; i >= 0; --i)
        dw = (dw << 8) | (unsigned char)bytes[offset + i];
    return dw;
}

const char kMagic[] = "PR{";     // with its terminating zero: the four magic bytes

// The bytes a container should have: blocks appended in order, then the directory,
// with the header pointing at it.
class ContainerImage
{
public:
    // A container whose first bytes (header included) are kept as they are.
    explicit ContainerImage(const std::string& prefix = std::string(8, '\0'))
        : m_bytes(prefix)
    {
    }

    // A directory entry for a block that already lies in the kept bytes.
    ContainerImage& Keep(const CString& strName, DWORD dwOffset)
    {
        m_entries.push_back({ strName, dwOffset });
        return *this;
    }

    // A new block with this content at the current end.
    ContainerImage& Add(const CString& strName, const std::string& content)
    {
        m_entries.push_back({ strName, (DWORD)m_bytes.size() });
        m_bytes += std::string(kMagic, 4) + Dword((DWORD)content.size()) + content;
        return *this;
    }

    std::string Bytes() const
    {
        std::string out = m_bytes;
        out.replace(0, 8, std::string(kMagic, 4) + Dword((DWORD)m_bytes.size()));
        out += std::string(kMagic, 4) + Dword((DWORD)m_entries.size());
        for (const Entry& e : m_entries) {
            out += (char)e.strName.GetLength();
            for (int i = 0; i < e.strName.GetLength(); ++i) {
                out += (char)(e.strName[i] & 0xFF);
                out += (char)(e.strName[i] >> 8);
            }
            out += Dword(e.dwOffset);
        }
        return out;
    }

private:
    struct Entry
    {
        CString strName;
        DWORD dwOffset;
    };
    std::string m_bytes;
    std::vector<Entry> m_entries;
};

// Replaces the content of a stream (creating it if needed) and leaves it current.
inline void PutStream(CMultiStreamFile& file, const CString& strName, const std::string& content)
{
    file.OpenStream(strName, TRUE);
    file.SetLength(0);
    file.Seek(0, CFile::begin);
    file.Write(content.data(), (UINT)content.size());
}

// The whole content of a stream, which becomes current.
inline std::string ReadStream(CMultiStreamFile& file, const CString& strName)
{
    file.SetCurrentStream(strName);
    file.Seek(0, CFile::begin);
    std::string content(file.GetLength(), '\0');
    UINT nRead = content.empty() ? 0 : file.Read(&content[0], (UINT)content.size());
    content.resize(nRead);
    return content;
}

// The error code of the CMultiStreamFileException that f throws; -1 when it throws
// nothing. Any other exception escapes and fails the test.
template <class F>
int CodeOf(F f)
{
    return wivotest::CaughtAs<CMultiStreamFileException>(
        f, [](CMultiStreamFileException* e) { return e->GetErrorCode(); }, -1);
}

// A container that shows its directory.
class CListingFile : public CMultiStreamFile
{
public:
    std::vector<CString> WideNames() const
    {
        std::vector<CString> names;
        for (POSITION pos = m_streams.GetHeadPosition(); pos != NULL;)
            names.push_back(m_streams.GetNext(pos)->m_strName);
        return names;
    }
};

} // namespace msftest
