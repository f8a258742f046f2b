// msfutil - lists, reads, changes and checks multi-stream container files.
//
//   msfutil list    CONTAINER                 streams: size, block offset, name
//   msfutil cat     CONTAINER STREAM          the stream's bytes to standard output
//   msfutil extract CONTAINER STREAM FILE     the stream's bytes into FILE
//   msfutil put     CONTAINER STREAM FILE     adds or replaces the stream with FILE's
//                                             bytes (creates the container if needed)
//   msfutil delete  CONTAINER STREAM          removes the stream
//   msfutil check   CONTAINER                 header, directory and every block
//
// Exit codes: 0 done, 1 wrong usage, 2 a file cannot be opened, read or written,
// 3 not a container or a damaged one, 4 no such stream. Failures print one line on
// standard error. The reading commands open the container read-only.
#include <Wivo.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <stdio.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

enum ExitCode
{
    exitOK = 0,
    exitUsage = 1,
    exitFile = 2,
    exitDamaged = 3,
    exitNoStream = 4
};

const char kMagic[4] = { 'P', 'R', '{', '\0' };

std::string Utf8(LPCWSTR text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, NULL, NULL);
    return out;
}

// Thrown within the tool to end a command with an exit code and a message.
struct Failure
{
    int nExitCode;
    std::string strMessage;
};

[[noreturn]] void Fail(int nExitCode, const std::string& strMessage)
{
    throw Failure{ nExitCode, strMessage };
}

std::string Quoted(const CString& str)
{
    return "\"" + Utf8(str) + "\"";
}

// The reason a file operation failed, in a few words.
std::string Reason(int nCause, LONG lOsError)
{
    switch (nCause) {
    case CFileException::fileNotFound:
        return "no such file";
    case CFileException::badPath:
        return "no such folder";
    case CFileException::accessDenied:
        return "access denied";
    case CFileException::sharingViolation:
    case CFileException::lockViolation:
        return "in use by another program";
    case CFileException::diskFull:
        return "disk full";
    default:
        return "file error " + std::to_string(nCause) + " (system error " +
               std::to_string(lOsError) + ")";
    }
}

// A container that shows its directory and the raw bytes of its disk file.
class CContainer : public CMultiStreamFile
{
public:
    std::vector<CStream*> Streams() const
    {
        std::vector<CStream*> streams;
        for (POSITION pos = m_streams.GetHeadPosition(); pos != NULL;)
            streams.push_back(m_streams.GetNext(pos));
        return streams;
    }

    // The length a stream's block records; 0 for a stream without one.
    DWORD BlockLength(const CStream* pStream)
    {
        if (pStream->m_dwOffset == 0)
            return 0;
        CFile::Seek((LONG)pStream->m_dwOffset + 4, CFile::begin);
        DWORD dw = 0;
        if (CFile::Read(&dw, sizeof(dw)) != sizeof(dw))
            return 0;
        return dw;
    }
};

// Why a container cannot be opened as one: the first bytes tell a foreign file from
// a damaged container.
std::string DescribeFormatError(const CString& strPath)
{
    CFile file;
    char head[4] = { 0 };
    if (file.Open(strPath, CFile::modeRead | CFile::shareDenyNone)) {
        UINT nRead = 0;
        try {
            nRead = file.Read(head, sizeof(head));
        } catch (CFileException* e) {
            e->Delete();
        }
        file.Abort();
        if (nRead < sizeof(head) || memcmp(head, kMagic, sizeof(head)) != 0)
            return "not a multi-stream container";
    }
    return "damaged container";
}

// Opens the container; FALSE with a message for a file that cannot be opened.
void OpenContainer(CContainer& container, const CString& strPath, UINT nFlags)
{
    CFileException error;
    BOOL bOpened = FALSE;
    try {
        bOpened = container.Open(strPath, nFlags, &error);
    } catch (CMultiStreamFileException* e) {
        e->Delete();
        container.Abort();
        Fail(exitDamaged, Utf8(strPath) + ": " + DescribeFormatError(strPath));
    }
    if (!bOpened) {
        // A failure while reading the directory leaves the record empty.
        if (error.m_cause == CFileException::none)
            Fail(exitFile, Utf8(strPath) + ": cannot read the directory");
        Fail(exitFile, Utf8(strPath) + ": " + Reason(error.m_cause, error.m_lOsError));
    }
}

// Makes the stream current, with the tool's message when it is missing or damaged.
// Ends the tool for a failed look-up of a named stream; strDamage says what could not
// be read when the container itself is damaged.
[[noreturn]] void FailOnStream(CMultiStreamFileException* e, CContainer& container,
                               const CString& strPath, const CString& strStream,
                               const std::string& strDamage)
{
    int nCode = e->GetErrorCode();
    e->Delete();
    container.Abort();
    if (nCode == CMultiStreamFileException::streamNotFound)
        Fail(exitNoStream, Utf8(strPath) + ": no stream named " + Quoted(strStream));
    if (nCode == CMultiStreamFileException::nameTooLong)
        Fail(exitUsage, "stream names have at most 255 characters");
    Fail(exitDamaged, Utf8(strPath) + ": damaged container: " + strDamage);
}

void SelectStream(CContainer& container, const CString& strPath, const CString& strStream)
{
    try {
        container.SetCurrentStream(strStream);
    } catch (CMultiStreamFileException* e) {
        FailOnStream(e, container, strPath, strStream,
                     "the block of stream " + Quoted(strStream) + " cannot be read");
    }
}

const UINT kReadOnly = CFile::modeRead | CFile::shareDenyWrite;

/////////////////////////////////////////////////////////////////////////////
// Commands

int List(const CString& strPath)
{
    CFileStatus status;
    if (CFile::GetStatus(strPath, status) && status.m_size == 0) {
        // An empty file is an empty container; the library reads one only when it
        // may write to it.
        printf("%10s %10s  %s\n", "size", "offset", "name");
        return exitOK;
    }
    CContainer container;
    OpenContainer(container, strPath, kReadOnly);
    printf("%10s %10s  %s\n", "size", "offset", "name");
    for (const auto* pStream : container.Streams()) {
        printf("%10lu %10lu  %s\n", (unsigned long)container.BlockLength(pStream),
               (unsigned long)pStream->m_dwOffset, Utf8(pStream->m_strName).c_str());
    }
    container.Close();
    return exitOK;
}

// The whole content of the stream.
std::vector<BYTE> ReadWholeStream(const CString& strPath, const CString& strStream)
{
    CContainer container;
    OpenContainer(container, strPath, kReadOnly);
    SelectStream(container, strPath, strStream);
    container.Seek(0, CFile::begin);
    std::vector<BYTE> content(container.GetLength());
    if (!content.empty())
        content.resize(container.Read(content.data(), (UINT)content.size()));
    container.Close();
    return content;
}

int Cat(const CString& strPath, const CString& strStream)
{
    std::vector<BYTE> content = ReadWholeStream(strPath, strStream);
    _setmode(_fileno(stdout), _O_BINARY);
    if (!content.empty() && fwrite(content.data(), 1, content.size(), stdout) != content.size())
        Fail(exitFile, "cannot write to standard output");
    fflush(stdout);
    return exitOK;
}

void WritePlainFile(const CString& strFile, const std::vector<BYTE>& content)
{
    CFile file;
    CFileException error;
    if (!file.Open(strFile, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error))
        Fail(exitFile, Utf8(strFile) + ": " + Reason(error.m_cause, error.m_lOsError));
    try {
        if (!content.empty())
            file.Write(content.data(), (UINT)content.size());
        file.Close();
    } catch (CFileException* e) {
        std::string strReason = Reason(e->m_cause, e->m_lOsError);
        e->Delete();
        file.Abort();
        Fail(exitFile, Utf8(strFile) + ": " + strReason);
    }
}

std::vector<BYTE> ReadPlainFile(const CString& strFile)
{
    CFile file;
    CFileException error;
    if (!file.Open(strFile, CFile::modeRead | CFile::shareDenyWrite, &error))
        Fail(exitFile, Utf8(strFile) + ": " + Reason(error.m_cause, error.m_lOsError));
    std::vector<BYTE> content;
    try {
        DWORD dwLength = file.GetLength();
        content.resize(dwLength);
        if (dwLength > 0)
            content.resize(file.Read(content.data(), dwLength));
        file.Close();
    } catch (CFileException* e) {
        std::string strReason = Reason(e->m_cause, e->m_lOsError);
        e->Delete();
        file.Abort();
        Fail(exitFile, Utf8(strFile) + ": " + strReason);
    }
    return content;
}

int Extract(const CString& strPath, const CString& strStream, const CString& strFile)
{
    WritePlainFile(strFile, ReadWholeStream(strPath, strStream));
    return exitOK;
}

// Saves the changes; a failure discards them and names the reason.
void CloseChanged(CContainer& container, const CString& strPath)
{
    try {
        container.Close();
    } catch (CMultiStreamFileException* e) {
        e->Delete();
        container.Abort();
        Fail(exitDamaged, Utf8(strPath) + ": damaged container: a stream to be moved cannot be "
                                          "read; nothing was changed");
    } catch (CFileException* e) {
        std::string strReason = Reason(e->m_cause, e->m_lOsError);
        e->Delete();
        container.Abort();
        Fail(exitFile, Utf8(strPath) + ": cannot save the changes: " + strReason);
    }
}

int Put(const CString& strPath, const CString& strStream, const CString& strFile)
{
    if (strStream.GetLength() > 255)
        Fail(exitUsage, "stream names have at most 255 characters");
    std::vector<BYTE> content = ReadPlainFile(strFile);
    CContainer container;
    OpenContainer(container, strPath,
                  CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite |
                      CFile::shareExclusive);
    try {
        container.OpenStream(strStream, TRUE);
    } catch (CMultiStreamFileException* e) {
        e->Delete();
        container.Abort();
        Fail(exitDamaged, Utf8(strPath) + ": damaged container: the block of stream " +
                              Quoted(strStream) + " cannot be read");
    }
    container.SetLength(0);
    container.Seek(0, CFile::begin);
    // Also an empty file marks the stream as changed, so that it is stored.
    container.Write(content.data(), (UINT)content.size());
    CloseChanged(container, strPath);
    return exitOK;
}

int Delete(const CString& strPath, const CString& strStream)
{
    CContainer container;
    OpenContainer(container, strPath, CFile::modeReadWrite | CFile::shareExclusive);
    try {
        container.DeleteStream(strStream);
    } catch (CMultiStreamFileException* e) {
        FailOnStream(e, container, strPath, strStream,
                     "the stream after " + Quoted(strStream) + " cannot be read");
    }
    CloseChanged(container, strPath);
    return exitOK;
}

/////////////////////////////////////////////////////////////////////////////
// check: the format read field by field, independently of the library's reader,
// and then every stream loaded through the library as well.

class CChecker
{
public:
    explicit CChecker(const CString& strPath) : m_strPath(strPath) {}

    int Run()
    {
        CFileException error;
        if (!m_file.Open(m_strPath, kReadOnly, &error))
            Fail(exitFile, Utf8(m_strPath) + ": " + Reason(error.m_cause, error.m_lOsError));
        try {
            CheckLayout();
        } catch (CFileException* e) {
            std::string strReason = Reason(e->m_cause, e->m_lOsError);
            e->Delete();
            m_file.Abort();
            Fail(exitFile, Utf8(m_strPath) + ": " + strReason);
        }
        m_file.Abort();
        if (m_dwLength > 0)
            CheckWithLibrary();
        printf("container is intact\n");
        return exitOK;
    }

private:
    struct Entry
    {
        CString strName;
        DWORD dwOffset;
        DWORD dwLength;
    };

    [[noreturn]] void Damaged(const std::string& strWhat)
    {
        m_file.Abort();
        Fail(exitDamaged, Utf8(m_strPath) + ": damaged container: " + strWhat);
    }

    bool ReadAt(DWORD dwPos, void* lpBuf, UINT nCount)
    {
        if ((ULONGLONG)dwPos + nCount > m_dwLength)
            return false;
        m_file.Seek((LONG)dwPos, CFile::begin);
        return m_file.Read(lpBuf, nCount) == nCount;
    }

    void CheckLayout()
    {
        m_dwLength = m_file.GetLength();
        if (m_dwLength == 0) {
            printf("empty file: a container without streams\n");
            return;
        }
        char head[4];
        DWORD dwDirectory = 0;
        if (!ReadAt(0, head, 4) || memcmp(head, kMagic, 4) != 0) {
            m_file.Abort();
            Fail(exitDamaged, Utf8(m_strPath) + ": not a multi-stream container");
        }
        if (!ReadAt(4, &dwDirectory, 4))
            Damaged("the header is cut short");
        if (dwDirectory < 8 || dwDirectory >= m_dwLength)
            Damaged("the directory offset " + std::to_string(dwDirectory) +
                    " lies outside the file (" + std::to_string(m_dwLength) + " bytes)");
        printf("header      ok, directory at %lu\n", (unsigned long)dwDirectory);

        DWORD dwCount = 0;
        if (!ReadAt(dwDirectory, head, 4) || memcmp(head, kMagic, 4) != 0)
            Damaged("no directory at offset " + std::to_string(dwDirectory));
        if (!ReadAt(dwDirectory + 4, &dwCount, 4))
            Damaged("the directory is cut short");
        if (dwCount > (m_dwLength - dwDirectory) / 5)
            Damaged("the directory claims " + std::to_string(dwCount) + " entries");

        std::vector<Entry> entries;
        DWORD dwPos = dwDirectory + 8;
        for (DWORD i = 0; i < dwCount; ++i) {
            BYTE nNameLength = 0;
            WCHAR szName[256];
            Entry entry;
            if (!ReadAt(dwPos, &nNameLength, 1) || !ReadAt(dwPos + 1, szName, nNameLength * 2u) ||
                !ReadAt(dwPos + 1 + nNameLength * 2u, &entry.dwOffset, 4))
                Damaged("directory entry " + std::to_string(i + 1) + " is cut short");
            entry.strName = CString(szName, nNameLength);
            entry.dwLength = 0;
            dwPos += 1 + nNameLength * 2u + 4;
            entries.push_back(entry);
        }
        if (dwPos != m_dwLength)
            Damaged(std::to_string(m_dwLength - dwPos) + " bytes follow the directory");
        printf("directory   ok, %lu entries, %lu bytes\n", (unsigned long)dwCount,
               (unsigned long)(dwPos - dwDirectory));

        // Every block lies between the header and the directory, none overlaps another.
        std::vector<std::pair<DWORD, DWORD>> extents;
        for (size_t i = 0; i < entries.size(); ++i) {
            Entry& e = entries[i];
            for (size_t j = 0; j < i; ++j) {
                if (entries[j].strName == e.strName)
                    Damaged("two streams are named " + Quoted(e.strName));
            }
            if (e.dwOffset == 0) {
                printf("stream      %s: no block, empty\n", Quoted(e.strName).c_str());
                continue;
            }
            std::string strBlock = "the block of stream " + Quoted(e.strName) + " at " +
                                   std::to_string(e.dwOffset);
            if (e.dwOffset < 8 || e.dwOffset >= dwDirectory)
                Damaged(strBlock + " lies outside the data area");
            if (!ReadAt(e.dwOffset, head, 4) || memcmp(head, kMagic, 4) != 0)
                Damaged(strBlock + " does not start with the magic");
            if (!ReadAt(e.dwOffset + 4, &e.dwLength, 4))
                Damaged(strBlock + " is cut short");
            if ((ULONGLONG)e.dwOffset + 8 + e.dwLength > dwDirectory)
                Damaged(strBlock + " (" + std::to_string(e.dwLength) +
                        " bytes) runs into the directory or past the end");
            extents.push_back({ e.dwOffset, e.dwOffset + 8 + e.dwLength });
            printf("stream      %s: block at %lu, %lu bytes\n", Quoted(e.strName).c_str(),
                   (unsigned long)e.dwOffset, (unsigned long)e.dwLength);
        }
        std::sort(extents.begin(), extents.end());
        DWORD dwUsed = 8;
        for (size_t i = 0; i < extents.size(); ++i) {
            if (i > 0 && extents[i].first < extents[i - 1].second)
                Damaged("two blocks overlap at offset " + std::to_string(extents[i].first));
            dwUsed += extents[i].second - extents[i].first;
        }
        printf("dead space  %lu bytes\n", (unsigned long)(dwDirectory - dwUsed));
        m_entries = entries;
    }

    // The library's own reader must agree.
    void CheckWithLibrary()
    {
        CContainer container;
        OpenContainer(container, m_strPath, kReadOnly);
        for (const Entry& e : m_entries) {
            SelectStream(container, m_strPath, e.strName);
            if (container.GetLength() != e.dwLength) {
                container.Abort();
                Fail(exitDamaged, Utf8(m_strPath) + ": damaged container: stream " +
                                      Quoted(e.strName) + " loads with a different length");
            }
        }
        container.Close();
    }

    CString m_strPath;
    CFile m_file;
    DWORD m_dwLength = 0;
    std::vector<Entry> m_entries;
};

int Check(const CString& strPath)
{
    CChecker checker(strPath);
    return checker.Run();
}

void Usage()
{
    fputs("usage: msfutil list    CONTAINER\n"
          "       msfutil cat     CONTAINER STREAM\n"
          "       msfutil extract CONTAINER STREAM FILE\n"
          "       msfutil put     CONTAINER STREAM FILE\n"
          "       msfutil delete  CONTAINER STREAM\n"
          "       msfutil check   CONTAINER\n",
          stderr);
}

int Run(int argc, LPWSTR* argv)
{
    if (argc < 3) {
        Usage();
        return exitUsage;
    }
    CString strCommand(argv[1]);
    CString strPath(argv[2]);
    struct Command
    {
        LPCWSTR name;
        int nArgs;
    };
    const Command commands[] = { { L"list", 3 }, { L"cat", 4 },    { L"extract", 5 },
                                 { L"put", 5 },  { L"delete", 4 }, { L"check", 3 } };
    for (const Command& c : commands) {
        if (strCommand != c.name)
            continue;
        if (argc != c.nArgs) {
            Usage();
            return exitUsage;
        }
        if (strCommand == L"list")
            return List(strPath);
        if (strCommand == L"cat")
            return Cat(strPath, argv[3]);
        if (strCommand == L"extract")
            return Extract(strPath, argv[3], argv[4]);
        if (strCommand == L"put")
            return Put(strPath, argv[3], argv[4]);
        if (strCommand == L"delete")
            return Delete(strPath, argv[3]);
        return Check(strPath);
    }
    fprintf(stderr, "msfutil: unknown command \"%s\"\n", Utf8(strCommand).c_str());
    Usage();
    return exitUsage;
}

} // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == NULL) {
        fputs("msfutil: cannot read the command line\n", stderr);
        return exitUsage;
    }
    int nResult;
    try {
        nResult = Run(argc, argv);
    } catch (const Failure& f) {
        fflush(stdout);
        fprintf(stderr, "msfutil: %s\n", f.strMessage.c_str());
        nResult = f.nExitCode;
    } catch (CFileException* e) {
        fflush(stdout);
        fprintf(stderr, "msfutil: %s: %s\n", Utf8(e->m_strFileName).c_str(),
                Reason(e->m_cause, e->m_lOsError).c_str());
        e->Delete();
        nResult = exitFile;
    } catch (CException* e) {
        fflush(stdout);
        TCHAR szMessage[512] = { 0 };
        e->GetErrorMessage(szMessage, 512);
        fprintf(stderr, "msfutil: %s\n", Utf8(szMessage).c_str());
        e->Delete();
        nResult = exitFile;
    }
    ::LocalFree(argv);
    return nResult;
}
