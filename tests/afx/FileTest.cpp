// Tests of CFile, CStdioFile, CMemFile and CSharedFile: real failing opens and the
// causes the OS reports, handle ownership (no leaks), locking, status, memory files'
// growth and buffers.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>

#include "AfxTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;
using wivotest::ReadFileBytes;
using wivotest::TempDir;
using wivotest::Throws;
using wivotest::WriteFileBytes;

namespace {

// "cause|OS error|file name" of the CFileException f throws, "none" when it throws none.
template<class F>
std::string FileError(F f)
{
    return wivotest::CaughtAs<CFileException>(
        f, [](CFileException* e) { return Join({e->m_cause, e->m_lOsError, e->m_strFileName}); },
        std::string("none"));
}

// Opens a file expecting failure and returns it as FileError does; the throwing
// constructor must fail the same way.
std::string FailedOpen(LPCTSTR lpszPath, UINT nFlags)
{
    CFile file;
    CFileException e;
    if (file.Open(lpszPath, nFlags, &e))
        return "opened";
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);
    std::string strError = Join({e.m_cause, e.m_lOsError, e.m_strFileName});
    EXPECT_EQ(strError, FileError([&] { CFile thrown(lpszPath, nFlags); })) << "constructor";
    return strError;
}

int CauseOf(const std::string& strError)
{
    return atoi(strError.c_str());
}

// Whether the platform keeps writers out of a read-only file (Wine running as root
// does not: the file system lets root write anything).
bool ReadOnlyIsEnforced(LPCTSTR lpszPath)
{
    HANDLE h = CreateFileW(lpszPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(h);
    return false;
}

bool HandleIsOpen(UINT_PTR h)
{
    DWORD dwFlags = 0;
    return GetHandleInformation((HANDLE)h, &dwFlags) != FALSE;
}

// Exposes a memory file's buffer bookkeeping.
class ProbeMemFile : public CMemFile
{
public:
    explicit ProbeMemFile(UINT nGrowBytes = 1024) : CMemFile(nGrowBytes) {}
    DWORD BufferSize() const { return m_nBufferSize; }
    BYTE* Buffer() const { return m_lpBuffer; }
};

// Counts the calls of the memory hooks a derived memory file can override.
class CountingMemFile : public CMemFile
{
public:
    explicit CountingMemFile(UINT nGrowBytes) : CMemFile(nGrowBytes) {}
    ~CountingMemFile() override
    {
        // CMemFile's destructor would reach only CMemFile::Free.
        Close();
    }
    std::string Calls() const { return Join({m_nAlloc, m_nRealloc, m_nMemcpy, m_nFree}); }

protected:
    BYTE* Alloc(DWORD n) override { return ++m_nAlloc, CMemFile::Alloc(n); }
    BYTE* Realloc(BYTE* p, DWORD n) override { return ++m_nRealloc, CMemFile::Realloc(p, n); }
    void Free(BYTE* p) override { ++m_nFree, CMemFile::Free(p); }
    BYTE* Memcpy(BYTE* pTo, const BYTE* pFrom, UINT n) override
    {
        return ++m_nMemcpy, CMemFile::Memcpy(pTo, pFrom, n);
    }

private:
    int m_nAlloc = 0, m_nRealloc = 0, m_nFree = 0, m_nMemcpy = 0;
};

// A fresh directory for each test, and the path of the test's file in it.
class FileOnDisk : public ::testing::Test
{
protected:
    TempDir dir;
    const CString strPath = dir.File(L"test.bin");
};

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Opening: causes from real failures

TEST_F(FileOnDisk, OpenFailuresGiveTheCauseTheOsErrorAndTheName)
{
    struct
    {
        const wchar_t* pszName;
        UINT nFlags;
        int nCause;
        LONG lOsError;
    } const cases[] = {
        {L"absent.txt", CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {L"nodir\\x.txt", CFile::modeCreate | CFile::modeWrite, CFileException::badPath,
         ERROR_PATH_NOT_FOUND},
        {L"m.txt", CFile::modeCreate | 3, CFileException::generic, ERROR_INVALID_PARAMETER},
        {L"m.txt", CFile::modeCreate | CFile::modeWrite | 0x70, CFileException::generic,
         ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        CString strFile = dir.File(c.pszName);
        EXPECT_EQ(Join({c.nCause, c.lOsError, strFile}), FailedOpen(strFile, c.nFlags));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.File(L"m.txt"))) << "bad mode";

    // A directory is no file.
    int nCause = CauseOf(FailedOpen(dir.Path(), CFile::modeRead));
    EXPECT_TRUE(nCause == CFileException::accessDenied || nCause == CFileException::badPath)
        << nCause;
}

TEST_F(FileOnDisk, OpenHonoursSharingModesTruncationAndReadOnlyFiles)
{
    CFile first(strPath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    EXPECT_EQ(Join({CFileException::sharingViolation, ERROR_SHARING_VIOLATION, strPath}),
              FailedOpen(strPath, CFile::modeRead | CFile::shareDenyNone));
    // shareDenyWrite lets readers in but no writers.
    first.Close();
    CFile reader(strPath, CFile::modeRead | CFile::shareDenyWrite);
    CFile reader2(strPath, CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(CFileException::sharingViolation,
              CauseOf(FailedOpen(strPath, CFile::modeWrite | CFile::shareDenyNone)));

    // Creating truncates unless told not to.
    const UINT nKeep = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite;
    CString strReadOnly = dir.File(L"ro.txt");
    ASSERT_TRUE(WriteFileBytes(strReadOnly, "0123456789"));
    EXPECT_EQ(10u, CFile(strReadOnly, nKeep).GetLength());
    EXPECT_EQ(0u, CFile(strReadOnly, CFile::modeCreate | CFile::modeWrite).GetLength());
    ASSERT_TRUE(WriteFileBytes(strReadOnly, "keep"));
    ASSERT_TRUE(SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_READONLY));
    if (ReadOnlyIsEnforced(strReadOnly)) {
        EXPECT_EQ(CFileException::accessDenied,
                  CauseOf(FailedOpen(strReadOnly, CFile::modeCreate | CFile::modeWrite)));
        EXPECT_EQ("keep", ReadFileBytes(strReadOnly));
    } else {
        printf("  the platform lets this user write read-only files (Wine as root)\n");
    }
    SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileOnDisk, OpenedFileKnowsItsFullPathNameAndTitle)
{
    WCHAR szOldDir[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, szOldDir);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path()));
    CFile file;
    BOOL bOpened = file.Open(L"Report.Final.txt", CFile::modeCreate | CFile::modeWrite);
    SetCurrentDirectoryW(szOldDir);
    ASSERT_TRUE(bOpened);

    // The relative name became a full path.
    EXPECT_STREQ(dir.File(L"Report.Final.txt"), file.GetFilePath());
    EXPECT_STREQ(L"Report.Final.txt", file.GetFileName());
    CString strTitle = file.GetFileTitle();
    EXPECT_TRUE(strTitle == L"Report.Final.txt" || strTitle == L"Report.Final") << Narrow(strTitle);

    file.SetFilePath(L"D:\\other\\name.doc");
    EXPECT_EQ("D:\\other\\name.doc|name.doc", Join({file.GetFilePath(), file.GetFileName()}));
    file.Close();
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
}

/////////////////////////////////////////////////////////////////////////////
// Reading, writing, seeking

TEST_F(FileOnDisk, WriteSeekReadAndSetLength)
{
    CFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);
    file.Write("hello, world", 12);
    EXPECT_EQ("12|12|7",
              Join({file.GetPosition(), file.GetLength(), file.Seek(-5, CFile::current)}));
    char sz[16] = {};
    EXPECT_EQ(5u, file.Read(sz, sizeof(sz)));
    EXPECT_STREQ("world", sz);
    EXPECT_EQ(0u, file.Read(sz, sizeof(sz))) << "read past the end";
    file.SeekToBegin();
    EXPECT_EQ("0|12|2", Join({file.GetPosition(), file.SeekToEnd(), file.Seek(2, CFile::begin)}));
    file.WriteHuge("LL", 2);
    file.SetLength(20);
    EXPECT_EQ(20u, file.GetLength());
    file.SetLength(5);
    file.Flush();
    file.Close();
    EXPECT_EQ("heLLo", ReadFileBytes(strPath));
}

TEST_F(FileOnDisk, FailingOperationsThrowWithTheFileName)
{
    ASSERT_TRUE(WriteFileBytes(strPath, "abc"));
    CFile file(strPath, CFile::modeRead);
    std::string strError = FileError([&] { file.Write("x", 1); });
    EXPECT_EQ(CFileException::accessDenied, CauseOf(strError)) << strError;
    EXPECT_NE(std::string::npos, strError.find(Narrow(strPath)));
    EXPECT_EQ(CFileException::badSeek, CauseOf(FileError([&] { file.Seek(-10, CFile::begin); })));
    EXPECT_EQ(CFileException::badSeek, CauseOf(FileError([&] { file.Seek(0, 7); })));

    file.Close();
    char ch;
    EXPECT_EQ(Join({CFileException::fileNotFound, ERROR_INVALID_HANDLE, L""}),
              FileError([&] { file.Read(&ch, 1); })) << "reading a closed file";
    EXPECT_EQ(0u, file.Read(&ch, 0));
    file.Close();   // closing twice does nothing
    file.Flush();

    CString strOld = dir.File(L"old.txt"), strNew = dir.File(L"new.txt");
    ASSERT_TRUE(WriteFileBytes(strOld, "data"));
    CFile::Rename(strOld, strNew);
    EXPECT_EQ("data", ReadFileBytes(strNew));
    CFile::Remove(strNew);
    // Both names are gone now.
    EXPECT_EQ(Join({CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, strNew}),
              FileError([&] { CFile::Remove(strNew); }));
    EXPECT_EQ(Join({CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, strOld}),
              FileError([&] { CFile::Rename(strOld, strNew); }));
}

/////////////////////////////////////////////////////////////////////////////
// Handles: ownership, duplication, locking, leaks

TEST_F(FileOnDisk, OnlyHandlesTheFileOpenedAreClosedAndDuplicatesShareTheFile)
{
    HANDLE h = CreateFileW(dir.File(L"w.bin"), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                           CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        CFile file((int)(INT_PTR)h);
        EXPECT_EQ((HFILE)(INT_PTR)h, (HFILE)file);
        file.Write("abc", 3);
        EXPECT_EQ(3u, file.GetLength());
        file.Close();
        EXPECT_EQ(CFile::hFileNull, file.m_hFile);
    }
    EXPECT_TRUE(HandleIsOpen((UINT_PTR)h));
    CFile((int)(INT_PTR)h).Flush();
    EXPECT_TRUE(HandleIsOpen((UINT_PTR)h)) << "a file closed a handle it did not open";
    CloseHandle(h);

    // A handle the file opened itself goes with it, also a duplicate's.
    CFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);
    file.Write("12345", 5);
    CFile* pDup = file.Duplicate();
    ASSERT_NE(nullptr, pDup);
    EXPECT_NE(file.m_hFile, pDup->m_hFile);
    EXPECT_STREQ(file.GetFilePath(), pDup->GetFilePath());
    // Duplicated handles share the file pointer: the writes follow each other.
    pDup->Write("67", 2);
    UINT_PTR hDup = pDup->m_hFile, hOwn = file.m_hFile;
    delete pDup;
    EXPECT_FALSE(HandleIsOpen(hDup));
    file.Write("8", 1);
    file.Close();
    EXPECT_FALSE(HandleIsOpen(hOwn));
    EXPECT_EQ("12345678", ReadFileBytes(strPath));
    EXPECT_EQ(nullptr, file.Duplicate()) << "a closed file";
}

// Only locks are checked: whether the platform keeps reads and writes out of a locked range
// is its own business (Wine does not).
TEST_F(FileOnDisk, LockedRangeKeepsOtherHandlesLocksOut)
{
    CFile owner(strPath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone);
    owner.Write("0123456789abcdefghij", 20);
    owner.LockRange(0, 10);
    CFile other(strPath, CFile::modeReadWrite | CFile::shareDenyNone);
    // The range's last byte is taken, the byte after it is free.
    EXPECT_EQ(Join({CFileException::lockViolation, ERROR_LOCK_VIOLATION, strPath}),
              FileError([&] { other.LockRange(9, 1); }));
    other.LockRange(10, 5);
    other.UnlockRange(10, 5);
    owner.UnlockRange(0, 10);
    EXPECT_NE("none", FileError([&] { owner.UnlockRange(0, 10); })) << "unlocked twice";
    other.LockRange(0, 10);
    other.UnlockRange(0, 10);
}

TEST_F(FileOnDisk, NoHandleLeaks)
{
    ASSERT_TRUE(WriteFileBytes(strPath, "x"));
    auto useFiles = [&] {
        CFile file(strPath, CFile::modeReadWrite | CFile::shareDenyNone);
        delete file.Duplicate();
        CFile reopened;
        EXPECT_TRUE(reopened.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
        // Reopening drops the first handle.
        EXPECT_TRUE(reopened.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
        CFileException e;
        EXPECT_FALSE(reopened.Open(dir.File(L"missing"), CFile::modeRead, &e));
        FailedOpen(dir.File(L"missing"), CFile::modeRead);
        CStdioFile text(strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
        CString strLine;
        text.ReadString(strLine);
        CFileStatus status;
        file.GetStatus(status);
        CFile::GetStatus(strPath, status);
    };
    useFiles();     // first calls may create lasting handles of the platform
    // The count moves: an open file shows.
    DWORD nBefore = wivotest::ProcessHandleCount();
    {
        CFile open(strPath, CFile::modeRead | CFile::shareDenyNone);
        EXPECT_EQ(nBefore + 1, wivotest::ProcessHandleCount());
    }
    for (int i = 0; i < 20; ++i)
        useFiles();
    EXPECT_EQ(nBefore, wivotest::ProcessHandleCount());
}

/////////////////////////////////////////////////////////////////////////////
// Status

TEST_F(FileOnDisk, MemberAndStaticStatusAgreeAndSetStatusChangesThem)
{
    CFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);
    file.Write("0123456789", 10);
    file.Flush();
    CFileStatus status, byName;
    ASSERT_TRUE(file.GetStatus(status));
    file.Close();
    EXPECT_EQ(0, status.m_attribute & (CFile::directory | CFile::readOnly));
    time_t now = time(NULL);
    EXPECT_LT(llabs((long long)(status.m_mtime.GetTime() - now)), 3600LL)
        << "mtime " << (long long)status.m_mtime.GetTime() << " now " << (long long)now;
    EXPECT_TRUE(status.m_ctime.GetTime() != 0 && status.m_atime.GetTime() != 0);
    ASSERT_TRUE(CFile::GetStatus(strPath, byName));
    for (const CFileStatus* p : {&status, &byName}) {
        EXPECT_EQ(Join({10, strPath, (long long)status.m_mtime.GetTime()}),
                  Join({(long long)p->m_size, p->m_szFullName, (long long)p->m_mtime.GetTime()}));
    }
    ASSERT_TRUE(CFile::GetStatus(dir.Path(), byName));
    EXPECT_NE(0, byName.m_attribute & CFile::directory);
    EXPECT_FALSE(CFile::GetStatus(dir.File(L"missing"), byName));
    EXPECT_FALSE(CFile::GetStatus(dir.File(L"*.bin"), byName));
    EXPECT_FALSE(CFile::GetStatus(L"", byName));

    const time_t tWrite = 981173106;    // 2001-02-03 04:05:06 UTC
    status.m_mtime = CTime(tWrite);
    status.m_atime = CTime(tWrite + 60);
    status.m_attribute = CFile::readOnly;
    CFile::SetStatus(strPath, status);
    ASSERT_TRUE(CFile::GetStatus(strPath, status));
    EXPECT_EQ(Join({(long long)tWrite, (long long)tWrite + 60, CFile::readOnly,
                    FILE_ATTRIBUTE_READONLY}),
              Join({(long long)status.m_mtime.GetTime(), (long long)status.m_atime.GetTime(),
                    status.m_attribute & CFile::readOnly,
                    GetFileAttributesW(strPath) & FILE_ATTRIBUTE_READONLY}));
    if (ReadOnlyIsEnforced(strPath)) {
        EXPECT_EQ(CFileException::accessDenied, CauseOf(FailedOpen(strPath, CFile::modeWrite)));
    }
    // From read-only back to writable, and times changed on a read-only file.
    status.m_attribute = CFile::normal;
    status.m_mtime = CTime(tWrite + 3600);
    CFile::SetStatus(strPath, status);
    EXPECT_EQ(0u, GetFileAttributesW(strPath) & FILE_ATTRIBUTE_READONLY);
    CFile(strPath, CFile::modeWrite).Close();
    ASSERT_TRUE(CFile::GetStatus(strPath, status));
    EXPECT_EQ((long long)tWrite + 3600, (long long)status.m_mtime.GetTime());
    EXPECT_EQ(CFileException::fileNotFound,
              CauseOf(FileError([&] { CFile::SetStatus(dir.File(L"missing"), status); })));
}

/////////////////////////////////////////////////////////////////////////////
// CStdioFile

TEST_F(FileOnDisk, StdioTextLinesOnDiskAndBack)
{
    {
        CStdioFile file(strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString(L"first line\n");
        file.WriteString(L"second");
        file.WriteString(L" line\n\nlast without end");
    }
    EXPECT_EQ("first line\r\nsecond line\r\n\r\nlast without end", ReadFileBytes(strPath));

    CStdioFile file(strPath, CFile::modeRead | CFile::typeText);
    CString strLine;
    for (const wchar_t* psz : {L"first line", L"second line", L"", L"last without end"}) {
        ASSERT_TRUE(file.ReadString(strLine)) << "before " << Narrow(psz);
        EXPECT_STREQ(psz, strLine);
    }
    EXPECT_FALSE(file.ReadString(strLine));
    EXPECT_TRUE(strLine.IsEmpty());

    // The buffer form keeps the '\n' and stops at nMax - 1 characters.
    file.SeekToBegin();
    TCHAR sz[8];
    wmemset(sz, 0xBDBD, 8);
    ASSERT_NE(nullptr, file.ReadString(sz, 6));
    EXPECT_STREQ(L"first", sz);
    EXPECT_EQ(0xBDBD, sz[6]);
    ASSERT_NE(nullptr, file.ReadString(sz, 8));
    EXPECT_STREQ(L" line\n", sz);
    file.Seek(0, CFile::end);
    EXPECT_EQ(nullptr, file.ReadString(sz, 8));
}

TEST_F(FileOnDisk, StdioTextModeUsesTheAnsiCodePageBinaryModeUtf16)
{
    const wchar_t* pszText = L"Gr\u00FC\u00DFe";
    char szAnsi[32] = {};
    WideCharToMultiByte(CP_ACP, 0, pszText, -1, szAnsi, sizeof(szAnsi), NULL, NULL);
    CStdioFile(strPath, CFile::modeCreate | CFile::modeWrite).WriteString(CString(pszText) + L"\n");
    EXPECT_EQ(std::string(szAnsi) + "\r\n", ReadFileBytes(strPath));
    CString strLine;
    ASSERT_TRUE(CStdioFile(strPath, CFile::modeRead).ReadString(strLine));
    WCHAR szBack[32] = {};
    MultiByteToWideChar(CP_ACP, 0, szAnsi, -1, szBack, 32);
    EXPECT_STREQ(szBack, strLine);

    {
        CStdioFile file(strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(L"\u20AC1\n2");
        file.Write("\r\n", 2);
        EXPECT_EQ("10|10", Join({file.GetPosition(), file.GetLength()}));
    }
    EXPECT_EQ(std::string("\xAC\x20\x31\x00\x0A\x00\x32\x00\r\n", 10), ReadFileBytes(strPath));
    CStdioFile file(strPath, CFile::modeRead | CFile::typeBinary);
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_STREQ(L"\u20AC1", strLine);
    EXPECT_EQ(6, file.Seek(6, CFile::begin));
    char buf[8] = {};
    EXPECT_EQ(4u, file.Read(buf, 8));
    EXPECT_EQ(std::string("2\0\r\n", 4), std::string(buf, 4));
}

TEST_F(FileOnDisk, StdioOpenFailureWrappedStreamsAndUnsupportedOperations)
{
    CStdioFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(dir.File(L"none.txt"), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_EQ(nullptr, file.m_pStream);

    // Neither a stream nor memory can be duplicated or locked.
    CStdioFile out(dir.File(L"x.txt"), CFile::modeCreate | CFile::modeWrite);
    CMemFile mem;
    for (CFile* pFile : {(CFile*)&out, (CFile*)&mem}) {
        const char* pszClass = pFile->GetRuntimeClass()->m_lpszClassName;
        EXPECT_TRUE(Throws<CNotSupportedException>([&] { pFile->Duplicate(); })) << pszClass;
        EXPECT_TRUE(Throws<CNotSupportedException>([&] { pFile->LockRange(0, 1); })) << pszClass;
    }
    EXPECT_TRUE(Throws<CNotSupportedException>([&] { mem.UnlockRange(0, 1); }));

    // A stream the file wraps stays open after it.
    FILE* pStream = _wfopen(dir.File(L"stream.txt"), L"w+t");
    ASSERT_NE(nullptr, pStream);
    CStdioFile(pStream).WriteString(L"abc\n");
    EXPECT_EQ(0, fseek(pStream, 0, SEEK_SET));
    char sz[16] = {};
    EXPECT_NE(nullptr, fgets(sz, 16, pStream));
    EXPECT_STREQ("abc\n", sz);
    fclose(pStream);
}

/////////////////////////////////////////////////////////////////////////////
// CMemFile

TEST(CMemFileTest, GrowsInStepsOfGrowBytesThroughTheOverridableHooks)
{
    ProbeMemFile file(100);
    EXPECT_EQ(0u, file.BufferSize());
    file.Write("a", 1);
    EXPECT_EQ(100u, file.BufferSize());
    BYTE block[250];
    memset(block, 'b', sizeof(block));
    file.Write(block, 250);
    EXPECT_EQ("300|251", Join({file.BufferSize(), file.GetLength()})) << "steps of 100";
    file.SetLength(301);
    EXPECT_EQ(400u, file.BufferSize());
    ProbeMemFile byDefault;
    byDefault.Write("x", 1);
    EXPECT_EQ(1024u, byDefault.BufferSize());

    // Alloc, Realloc, Memcpy, Free.
    CountingMemFile counting(16);
    counting.Write("0123456789", 10);
    counting.Write("0123456789", 10);
    EXPECT_EQ("1|1|2|0", counting.Calls());
    char buf[4];
    counting.SeekToBegin();
    counting.Read(buf, 4);
    counting.Close();
    EXPECT_EQ("1|1|3|1", counting.Calls());
    EXPECT_EQ(0u, counting.GetLength());
}

TEST(CMemFileTest, ReadSeekAndGaps)
{
    CMemFile file;
    file.Write("abcdef", 6);
    EXPECT_EQ(2, file.Seek(-4, CFile::current));
    char buf[8] = {};
    EXPECT_EQ(3u, file.Read(buf, 3));
    EXPECT_STREQ("cde", buf);
    EXPECT_EQ(1u, file.Read(buf, 8));
    EXPECT_EQ(0u, file.Read(buf, 8));

    // A write past the end leaves zeros in between.
    EXPECT_EQ(10, file.Seek(4, CFile::end));
    file.Write("Z", 1);
    file.SeekToBegin();
    char all[12];
    EXPECT_EQ(11u, file.Read(all, 12));
    EXPECT_EQ(std::string("abcdef\0\0\0\0Z", 11), std::string(all, 11));
    EXPECT_EQ(CFileException::badSeek, CauseOf(FileError([&] { file.Seek(-1, CFile::begin); })));
    EXPECT_EQ(11u, file.GetPosition()) << "a failed seek moves nothing";

    // Shortening pulls the position back to the new end.
    file.SetLength(3);
    EXPECT_EQ(3u, file.GetPosition());
    file.SeekToBegin();
    file.SetLength(2);
    EXPECT_EQ(0u, file.GetPosition());
    file.SeekToEnd();
    file.SetLength(1);
    EXPECT_EQ(1u, file.GetPosition());
    CFileStatus status;
    EXPECT_TRUE(file.GetStatus(status));
    EXPECT_EQ(1, status.m_size);
}

TEST(CMemFileTest, BuffersOfTheCallerFixedAndGrowable)
{
    BYTE buf[16];
    memset(buf, '.', sizeof(buf));
    buf[10] = 0xBD;
    CMemFile fixed(buf, 10);
    EXPECT_EQ(10u, fixed.GetLength()) << "a fixed buffer is all data";
    fixed.Write("0123", 4);
    EXPECT_EQ(0, memcmp(buf, "0123......", 10));
    fixed.SeekToEnd();
    EXPECT_TRUE(Throws<CMemoryException>([&] { fixed.Write("x", 1); }));
    EXPECT_EQ(0xBD, buf[10]) << "wrote past the buffer";
    EXPECT_EQ(buf, fixed.Detach());
    EXPECT_EQ(0u, fixed.GetLength());

    ProbeMemFile file;
    file.Attach((BYTE*)malloc(8), 8, 64);
    EXPECT_EQ(0u, file.GetLength()) << "a growable buffer starts empty";
    file.Write("12345678", 8);
    EXPECT_EQ(8u, file.BufferSize());
    file.Write("9", 1);
    EXPECT_EQ(72u, file.BufferSize());
    BYTE* pData = file.Detach();
    ASSERT_NE(nullptr, pData);
    EXPECT_EQ(0, memcmp(pData, "123456789", 9));
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(nullptr, file.Buffer());
    free(pData);
    // The file can be used again after Detach.
    file.Write("again", 5);
    EXPECT_EQ(5u, file.GetLength());
}

TEST(CMemFileTest, DirectBufferAccess)
{
    ProbeMemFile file(32);
    EXPECT_EQ((UINT)CFile::bufferDirect, file.GetBufferPtr(CFile::bufferCheck));
    void* pStart = NULL;
    void* pMax = NULL;
    EXPECT_EQ(10u, file.GetBufferPtr(CFile::bufferWrite, 10, &pStart, &pMax));
    ASSERT_EQ(file.Buffer(), pStart);
    EXPECT_EQ((BYTE*)pStart + 10, pMax);
    memcpy(pStart, "direct", 6);
    EXPECT_EQ(0u, file.GetLength()) << "nothing is there before the commit";
    file.GetBufferPtr(CFile::bufferCommit, 6);
    EXPECT_EQ("6|6", Join({file.GetLength(), file.GetPosition()}));

    file.SeekToBegin();
    EXPECT_EQ(4u, file.GetBufferPtr(CFile::bufferRead, 4, &pStart, &pMax));
    EXPECT_EQ(0, memcmp(pStart, "dire", 4));
    EXPECT_EQ(4u, file.GetPosition()) << "reading moves past what it hands out";
    EXPECT_EQ(2u, file.GetBufferPtr(CFile::bufferRead, 100, &pStart, &pMax));
    EXPECT_EQ(0u, file.GetBufferPtr(CFile::bufferRead, 100, &pStart, &pMax));

    // A fixed file offers only what is left.
    BYTE buf[8];
    CMemFile fixed(buf, 8);
    fixed.Seek(5, CFile::begin);
    EXPECT_EQ(3u, fixed.GetBufferPtr(CFile::bufferWrite, 100, &pStart, &pMax));
    EXPECT_EQ(buf + 5, pStart);
    EXPECT_EQ(0u, CFile().GetBufferPtr(CFile::bufferCheck));
}

/////////////////////////////////////////////////////////////////////////////
// CSharedFile

TEST(CSharedFileTest, DetachHandsOverTheGlobalMemory)
{
    CSharedFile file;
    std::string data(10000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (char)(i * 7);
    file.Write(data.data(), (UINT)data.size());
    HGLOBAL hMem = file.Detach();
    ASSERT_NE(nullptr, hMem);
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(data.size(), GlobalSize(hMem)) << "sized to the contents";
    EXPECT_EQ(data, std::string((const char*)GlobalLock(hMem), data.size()));
    GlobalUnlock(hMem);

    // Another shared file takes the memory back, without growing it.
    CSharedFile reader;
    reader.SetHandle(hMem, FALSE);
    EXPECT_EQ(data.size(), reader.GetLength());
    char buf[5];
    reader.Seek(9995, CFile::begin);
    EXPECT_EQ(5u, reader.Read(buf, 5));
    EXPECT_EQ(data.substr(9995), std::string(buf, 5));
    reader.SeekToEnd();
    EXPECT_TRUE(Throws<CMemoryException>([&] { reader.Write("more", 4); })) << "it grew";
    // An archive writes into it as far as the memory goes.
    reader.SeekToBegin();
    {
        CArchive ar(&reader, CArchive::store);
        ar << (DWORD)0x64636261;
    }
    reader.SeekToBegin();
    EXPECT_EQ(4u, reader.Read(buf, 4));
    EXPECT_EQ("abcd", std::string(buf, 4));
    EXPECT_EQ(data.size(), reader.GetLength());
    // reader frees hMem when it goes.
    EXPECT_EQ(nullptr, CSharedFile().Detach());
}

TEST(CSharedFileTest, GrowableHandleAndReuse)
{
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(hMem), "abcd", 4);
    GlobalUnlock(hMem);
    CSharedFile file(GMEM_MOVEABLE, 16);
    file.Write("temp", 4);
    file.SetHandle(hMem);
    EXPECT_EQ(4u, file.GetLength());
    file.SeekToEnd();
    file.Write("efgh", 4);
    HGLOBAL hOut = file.Detach();
    ASSERT_NE(nullptr, hOut);
    EXPECT_EQ(8u, GlobalSize(hOut));
    EXPECT_EQ("abcdefgh", std::string((const char*)GlobalLock(hOut), 8));
    GlobalUnlock(hOut);
    GlobalFree(hOut);
}
