// Helpers shared by the container tests: an independent writer of expected container
// bytes, and small wrappers around CMultiStreamFile.
#pragma once

#include <Wivo.h>

#include "AfxTestSupport.h"

#include <string.h>

#include <string>
#include <vector>

namespace msftest {

// The first exceptions thrown from the library and from the framework and caught
// here make the C++ run-time of each module take a few handles for good. Tests that
// compare handle counts throw those first.
inline void WarmUpExceptions()
{
    wivotest::Throws<CMultiStreamFileException>([] { CMultiStreamFile().GetLength(); });
    wivotest::Throws<CFileException>([] { CFile().GetLength(); });
}

// Numbers and names are stored little-endian, as they lie in memory here.
inline std::string Dword(DWORD dw)
{
    return std::string(reinterpret_cast<const char*>(&dw), 4);
}

inline void PutDword(std::string& bytes, size_t offset, DWORD dw)
{
    bytes.replace(offset, 4, Dword(dw));
}

inline DWORD GetDword(const std::string& bytes, size_t offset)
{
    DWORD dw = 0;
    memcpy(&dw, bytes.data() + offset, 4);
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
        m_bytes += Block(content);
        return *this;
    }

    // A block as stored: magic, length, content.
    static std::string Block(const std::string& content)
    {
        return std::string(kMagic, 4) + Dword((DWORD)content.size()) + content;
    }

    std::string Bytes() const
    {
        std::string out = m_bytes;
        out.replace(0, 8, std::string(kMagic, 4) + Dword((DWORD)m_bytes.size()));
        out += std::string(kMagic, 4) + Dword((DWORD)m_entries.size());
        for (const Entry& e : m_entries) {
            out += (char)e.strName.GetLength();
            out.append(reinterpret_cast<LPCSTR>((LPCWSTR)e.strName), 2 * e.strName.GetLength());
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
