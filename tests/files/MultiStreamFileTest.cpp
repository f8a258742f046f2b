// Tests of CMultiStreamFile and CMultiStreamFileException: the bytes on disk, the
// streams as files and archives, and both kinds of failure.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "MultiStreamFileTestSupport.h"
#include "TestSupport.h"

#include <string>
#include <vector>

using wivotest::Narrow;
using wivotest::ReadFileBytes;
using wivotest::WriteFileBytes;
using namespace msftest;

namespace {

const UINT kCreate = CFile::modeCreate | CFile::modeReadWrite;

// The message of the CMultiStreamFileException that f throws (empty when none).
template <class F>
std::string MessageOf(F f)
{
    return wivotest::CaughtAs<CMultiStreamFileException>(
        f, [](CMultiStreamFileException* e) { return Narrow(e->GetErrorMessage()); }, std::string());
}

// The cause of the CFileException that f throws, -1 when none.
template <class F>
int CauseOf(F f)
{
    return wivotest::CaughtAs<CFileException>(f, [](CFileException* e) { return e->m_cause; }, -1);
}

// Whether f throws CNotSupportedException.
template <class F>
bool NotSupported(F f)
{
    return wivotest::CaughtAs<CNotSupportedException>(f, [](CNotSupportedException*) { return true; }, false);
}

class MultiStreamFileTest : public ::testing::Test
{
protected:
    void SetUp() override { m_path = m_dir.File(L"container.msf"); }

    // Writes the streams, in this order, into a new container.
    void MakeContainer(const std::vector<std::pair<CString, std::string>>& streams)
    {
        CMultiStreamFile file;
        ASSERT_TRUE(file.Open(m_path, kCreate));
        for (const auto& s : streams)
            PutStream(file, s.first, s.second);
        file.Close();
    }

    std::string Disk() const { return ReadFileBytes(m_path); }

    // The stream's content as a fresh read-only container sees it.
    std::string Reread(const CString& strName)
    {
        CMultiStreamFile file(m_path, CFile::modeRead);
        return ReadStream(file, strName);
    }

    // The directory as a fresh read-only container sees it.
    std::vector<std::string> StoredNames()
    {
        CListingFile file;
        EXPECT_TRUE(file.Open(m_path, CFile::modeRead));
        return file.Names();
    }

    wivotest::TempDir m_dir;
    CString m_path;
};

/////////////////////////////////////////////////////////////////////////////
// The bytes on disk

TEST_F(MultiStreamFileTest, NewContainerWithoutWritesStaysEmpty)
{
    {
        CMultiStreamFile file;
        ASSERT_TRUE(file.Open(m_path, kCreate));
        file.OpenStream(L"never written", TRUE);
        file.Close();
    }
    EXPECT_EQ(Disk().size(), 0u);
    // An empty file is an empty container when opened for writing...
    CListingFile file;
    ASSERT_TRUE(file.Open(m_path, CFile::modeReadWrite));
    EXPECT_TRUE(file.Names().empty());
    file.Close();
}

TEST_F(MultiStreamFileTest, OneStreamContainerIsExactly34Bytes)
{
    MakeContainer({ { L"A", "xyz" } });
    EXPECT_EQ(Hex(Disk()), Unspaced("50527B00 13000000 | 50527B00 03000000 78797A | "
                                    "50527B00 01000000 01 4100 08000000"));

    EXPECT_EQ(StoredNames(), std::vector<std::string>{ "A" });
    EXPECT_EQ(Reread(L"A"), "xyz");
}

TEST_F(MultiStreamFileTest, StreamsAfterTheFirstChangedOneGetBlocksEvenWhenEmpty)
{
    {
        CMultiStreamFile file;
        ASSERT_TRUE(file.Open(m_path, kCreate));
        file.OpenStream(L"A", TRUE);
        file.OpenStream(L"B", TRUE);    // created, never written
        file.SetCurrentStream(L"A");
        file.Write("xyz", 3);
        file.Close();
    }
    ContainerImage expected;
    expected.Add(L"A", "xyz");
    expected.Add(L"B", "");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
}

TEST_F(MultiStreamFileTest, NamesAreStoredAsUtf16WithLengthByte)
{
    CString strName(L"\u00dcbersicht \u20ac");
    MakeContainer({ { strName, "1" } });
    ContainerImage expected;
    expected.Add(strName, "1");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
}

TEST_F(MultiStreamFileTest, RewriteStartsAtTheFirstChangedStream)
{
    MakeContainer({ { L"first", "11111" }, { L"second", "22" }, { L"third", "333" } });
    std::string before = Disk();
    // first block at 8 (8 + 5 bytes), second at 21 (8 + 2), third at 31 (8 + 3).
    // A damaged magic in the first block proves that it is neither loaded nor moved.
    std::string damaged = before;
    damaged[8] = 'X';
    ASSERT_TRUE(WriteFileBytes(m_path, damaged));
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.SetCurrentStream(L"second");
        file.Seek(0, CFile::end);
        file.Write("++++", 4);
        file.Close();
    }
    ContainerImage expected(damaged.substr(0, 21));
    expected.Keep(L"first", 8);
    expected.Add(L"second", "22++++");
    expected.Add(L"third", "333");
    std::string after = Disk();
    EXPECT_EQ(Hex(after), Hex(expected.Bytes()));
    EXPECT_EQ(after.substr(0, 4), before.substr(0, 4));
}

TEST_F(MultiStreamFileTest, ChangingTheLastStreamRewritesOnlyItsBlock)
{
    MakeContainer({ { L"a", std::string(3000, 'a') }, { L"b", std::string(2000, 'b') } });
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.OpenStream(L"b", FALSE);
        file.Seek(0, CFile::end);
        file.Write("!", 1);
    }   // the destructor closes and saves
    ContainerImage expected;
    expected.Add(L"a", std::string(3000, 'a'));
    expected.Add(L"b", std::string(2000, 'b') + "!");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
}

TEST_F(MultiStreamFileTest, DeleteLeavesTheBlockAsDeadSpace)
{
    MakeContainer({ { L"A", "aaaa" }, { L"B", "bbbbbb" }, { L"C", "cc" } });
    std::string before = Disk();
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.DeleteStream(L"B");    // C, its successor, is loaded and saved again
    }
    // A at 8 (12 bytes), B's dead block at 20 (14 bytes), C rewritten at its old place 34.
    ContainerImage expected(before.substr(0, 34));
    expected.Keep(L"A", 8);
    expected.Add(L"C", "cc");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));

    EXPECT_EQ(StoredNames(), (std::vector<std::string>{ "A", "C" }));
    EXPECT_EQ(Reread(L"C"), "cc");
}

TEST_F(MultiStreamFileTest, DeletingTheLastStreamsRewritesTheDirectory)
{
    MakeContainer({ { L"A", "aaaa" }, { L"B", "bb" } });
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.DeleteStream(L"B");
    }
    ContainerImage expected;
    expected.Add(L"A", "aaaa");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.DeleteStream(L"A");
    }
    EXPECT_EQ(Hex(Disk()), Hex(ContainerImage().Bytes()));
    EXPECT_TRUE(StoredNames().empty());
}

TEST_F(MultiStreamFileTest, NewStreamBehindStoredOnesStartsBehindTheirBlocks)
{
    MakeContainer({ { L"A", "aaaa" }, { L"B", "bb" } });
    std::string before = Disk();
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.OpenStream(L"new", TRUE);
        file.Write("n", 1);
    }
    ContainerImage expected(before.substr(0, 30));
    expected.Keep(L"A", 8);
    expected.Keep(L"B", 20);
    expected.Add(L"new", "n");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
}

TEST_F(MultiStreamFileTest, LargeStreamIsOneBlockAndReadsBackExactly)
{
    std::string big(250000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (char)(i * 7 + i / 251);
    MakeContainer({ { L"big", big } });
    std::string disk = Disk();
    ASSERT_EQ(disk.size(), 8u + 8 + 250000 + 8 + 1 + 6 + 4);
    EXPECT_EQ(Hex(disk.substr(8, 8)), Unspaced("50527B00 90D00300"));   // 250000 = 0x3D090

    CMultiStreamFile file(m_path, CFile::modeRead);
    file.OpenStream(L"big", FALSE);
    EXPECT_EQ(file.GetLength(), 250000u);
    std::string back = ReadStream(file, L"big");
    EXPECT_TRUE(back == big) << "read back " << back.size() << " bytes";
    file.Close();
}

/////////////////////////////////////////////////////////////////////////////
// Stream names

TEST_F(MultiStreamFileTest, NameLengthLimitIs255Units)
{
    CString str255(L'n', 255), str256(L'n', 256);
    {
        CMultiStreamFile file(m_path, kCreate);
        PutStream(file, str255, "long");
        EXPECT_TRUE(file.DoesStreamExist(str255));
        struct { const char* what; void (*call)(CMultiStreamFile&, const CString&); } calls[] = {
            { "OpenStream", [](CMultiStreamFile& f, const CString& s) { f.OpenStream(s, TRUE); } },
            { "SetCurrentStream", [](CMultiStreamFile& f, const CString& s) { f.SetCurrentStream(s); } },
            { "DoesStreamExist", [](CMultiStreamFile& f, const CString& s) { f.DoesStreamExist(s); } },
            { "DeleteStream", [](CMultiStreamFile& f, const CString& s) { f.DeleteStream(s); } },
        };
        for (const auto& c : calls)
            EXPECT_EQ(CodeOf([&] { c.call(file, str256); }), 1) << c.what;
    }
    std::string disk = Disk();
    ASSERT_EQ(disk.size(), 8u + 12 + 8 + 1 + 510 + 4);
    EXPECT_EQ((unsigned char)disk[28], 255);
    EXPECT_EQ(Reread(str255), "long");
}

TEST_F(MultiStreamFileTest, NamesAreCaseSensitive)
{
    MakeContainer({ { L"a", "lower" }, { L"A", "upper" } });
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{ "a", "A" }));
    EXPECT_EQ(Reread(L"a"), "lower");
    EXPECT_EQ(Reread(L"A"), "upper");
    CMultiStreamFile file(m_path, CFile::modeRead);
    EXPECT_FALSE(file.DoesStreamExist(L"\u00e4"));
}

/////////////////////////////////////////////////////////////////////////////
// Streams as files

TEST_F(MultiStreamFileTest, CurrentStreamRules)
{
    CMultiStreamFile file(m_path, kCreate);
    EXPECT_TRUE(file.HaveCurrentStream());      // TRUE means: none
    EXPECT_EQ(CodeOf([&] { file.Read(NULL, 0); }), 3);
    EXPECT_EQ(CodeOf([&] { file.GetLength(); }), 3);
    EXPECT_EQ(CodeOf([&] { file.GetCurrentStreamName(); }), 3);
    EXPECT_EQ(CodeOf([&] { file.OpenStream(L"missing", FALSE); }), 2);
    EXPECT_EQ(CodeOf([&] { file.SetCurrentStream(L"missing"); }), 2);
    EXPECT_EQ(CodeOf([&] { file.DeleteStream(L"missing"); }), 2);

    CFile* pStream = file.OpenStream(L"one", TRUE);
    EXPECT_FALSE(file.HaveCurrentStream());
    EXPECT_EQ(file.GetCurrentStreamFile(), pStream);
    EXPECT_EQ(Narrow(file.GetCurrentStreamName()), "one");
    file.DeleteStream(L"one");
    EXPECT_TRUE(file.HaveCurrentStream());
    EXPECT_EQ(CodeOf([&] { file.Write("x", 1); }), 3);
    EXPECT_FALSE(file.DoesStreamExist(L"one"));
    file.Close();
}

TEST_F(MultiStreamFileTest, EachStreamKeepsItsOwnPositionAndContent)
{
    CMultiStreamFile file(m_path, kCreate);
    file.OpenStream(L"x", TRUE);
    file.Write("xxxx", 4);
    file.OpenStream(L"y", TRUE);
    file.Write("yy", 2);
    file.SetCurrentStream(L"x");
    EXPECT_EQ(file.GetPosition(), 4u);
    file.Seek(1, CFile::begin);
    file.Write("Z", 1);
    file.SetCurrentStream(L"y");
    EXPECT_EQ(file.GetPosition(), 2u);
    EXPECT_EQ(file.GetLength(), 2u);
    // Opening an existing stream with create does not empty it.
    file.OpenStream(L"x", TRUE);
    EXPECT_EQ(file.GetLength(), 4u);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);

    EXPECT_EQ(Reread(L"x"), "xZxx");
    EXPECT_EQ(Reread(L"y"), "yy");
}

TEST_F(MultiStreamFileTest, ClosingTheStreamFileKeepsItsContent)
{
    CMultiStreamFile file(m_path, kCreate);
    CFile* pStream = file.OpenStream(L"s", TRUE);
    pStream->Write("kept", 4);
    pStream->Close();
    pStream->Abort();
    EXPECT_EQ(file.GetLength(), 4u);
    file.Close();
    EXPECT_EQ(Reread(L"s"), "kept");
}

TEST_F(MultiStreamFileTest, SetLengthAloneIsNotSaved)
{
    MakeContainer({ { L"s", "123456" } });
    std::string before = Disk();
    {
        CMultiStreamFile file(m_path, CFile::modeReadWrite);
        file.OpenStream(L"s", FALSE);
        file.SetLength(2);
        EXPECT_EQ(file.GetLength(), 2u);
    }
    EXPECT_EQ(Hex(Disk()), Hex(before));
}

TEST_F(MultiStreamFileTest, FlushWritesAndKeepsTheContainerOpen)
{
    CMultiStreamFile file(m_path, kCreate | CFile::shareDenyWrite);
    PutStream(file, L"s", "abc");
    file.Flush();
    EXPECT_EQ(file.GetFileLength(), 34u);
    EXPECT_EQ(file.GetFilePosition(), 8u) << "the directory offset is written last";
    EXPECT_EQ(ReadFileBytes(m_path).size(), 34u);
    file.Write("d", 1);
    file.Close();
    EXPECT_EQ(Reread(L"s"), "abcd");
}

TEST_F(MultiStreamFileTest, OpenedForWritingIsReadToo)
{
    MakeContainer({ { L"s", "abc" } });
    CMultiStreamFile file(m_path, CFile::modeWrite);
    EXPECT_TRUE(file.DoesStreamExist(L"s"));
    EXPECT_EQ(ReadStream(file, L"s"), "abc");
    file.Write("d", 1);
    file.Close();
    EXPECT_EQ(Reread(L"s"), "abcd");
}

TEST_F(MultiStreamFileTest, WhatMemoryFilesCannotDoIsNotSupported)
{
    CMultiStreamFile file(m_path, kCreate);
    file.OpenStream(L"s", TRUE);
    EXPECT_TRUE(NotSupported([&] { delete file.Duplicate(); }));
    EXPECT_TRUE(NotSupported([&] { file.LockRange(0, 1); }));
    file.Close();
}

TEST_F(MultiStreamFileTest, ContainerOnAHandleReadsNoDirectory)
{
    MakeContainer({ { L"s", "abc" } });
    HANDLE h = CreateFileW(m_path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CMultiStreamFile file((int)(INT_PTR)h);
        EXPECT_FALSE(file.DoesStreamExist(L"s"));
        EXPECT_EQ(file.GetFileLength(), 34u);
        EXPECT_EQ(MessageOf([&] { file.GetLength(); }), "Kein aktueller Stream in der Datei \"\".");
    }
    // Not closed on delete: the handle still works.
    EXPECT_NE(GetFileSize(h, NULL), INVALID_FILE_SIZE);
    CloseHandle(h);
}

/////////////////////////////////////////////////////////////////////////////
// Archives on the current stream

TEST_F(MultiStreamFileTest, ArchivesRoundTripThroughSeveralStreams)
{
    {
        CMultiStreamFile file(m_path, kCreate);
        file.OpenStream(L"Zahlen", TRUE);
        {
            CArchive ar(&file, CArchive::store);
            ar << 42 << 2.5 << CString(L"Text");
            for (DWORD i = 0; i < 20000; ++i)     // several archive buffers
                ar << i;
        }
        file.OpenStream(L"Namen", TRUE);
        {
            CArchive ar(&file, CArchive::store);
            ar << CString(L"Gr\u00fc\u00dfe") << CString(L"zwei");
        }
        // Back to the first stream, appended to.
        file.SetCurrentStream(L"Zahlen");
        file.Seek(0, CFile::end);
        {
            CArchive ar(&file, CArchive::store);
            ar << (WORD)0xBEEF;
        }
        file.Close();
    }

    CMultiStreamFile file(m_path, CFile::modeRead);
    file.SetCurrentStream(L"Namen");
    {
        CArchive ar(&file, CArchive::load);
        CString a, b;
        ar >> a >> b;
        EXPECT_EQ(Narrow(a), "Gr\xc3\xbc\xc3\x9f" "e");
        EXPECT_EQ(Narrow(b), "zwei");
        BYTE extra;
        bool bEnd = false;
        try {
            ar >> extra;
        } catch (CArchiveException* e) {
            bEnd = e->m_cause == CArchiveException::endOfFile;
            e->Delete();
        }
        EXPECT_TRUE(bEnd) << "the stream ends after its own data";
    }
    file.SetCurrentStream(L"Zahlen");
    // int, double, "Text" (marker, length byte, four units), the numbers, the WORD.
    EXPECT_EQ(file.GetLength(), 4u + 8 + (4 + 8) + 20000 * 4 + 2);
    {
        CArchive ar(&file, CArchive::load);
        int n;
        double d;
        CString s;
        ar >> n >> d >> s;
        EXPECT_EQ(n, 42);
        EXPECT_EQ(d, 2.5);
        EXPECT_EQ(Narrow(s), "Text");
        DWORD dwWrong = 0;
        for (DWORD i = 0; i < 20000; ++i) {
            DWORD dw;
            ar >> dw;
            if (dw != i && dwWrong++ == 0)
                ADD_FAILURE() << "value " << i << " read as " << dw;
        }
        WORD w;
        ar >> w;
        EXPECT_EQ(w, 0xBEEF);
    }
    file.Close();
}

TEST_F(MultiStreamFileTest, ArchiveNeedsACurrentStream)
{
    CMultiStreamFile file(m_path, kCreate);
    // The archive asks for direct buffering as it is built.
    EXPECT_EQ(CodeOf([&] { CArchive ar(&file, CArchive::store); }), 3);
    file.OpenStream(L"s", TRUE);
    {
        CArchive ar(&file, CArchive::store);
        ar << 1;
    }
    EXPECT_EQ(file.GetLength(), 4u);
    file.Close();
}

TEST_F(MultiStreamFileTest, ArchiveWritesStraightIntoTheBufferAreSaved)
{
    // Fewer bytes than the archive buffer: they reach the stream only by commit.
    {
        CMultiStreamFile file(m_path, kCreate);
        file.OpenStream(L"s", TRUE);
        CArchive ar(&file, CArchive::store);
        ar << (BYTE)'o' << (BYTE)'k';
        ar.Close();
        file.Close();
    }
    ContainerImage expected;
    expected.Add(L"s", "ok");
    EXPECT_EQ(Hex(Disk()), Hex(expected.Bytes()));
}

/////////////////////////////////////////////////////////////////////////////
// Failure codes and their texts

TEST(MultiStreamFileExceptionTest, MessagesByCode)
{
    struct { int code; const char* expected; } cases[] = {
        { 0, "Die Datei \"C:\\d\\f.msf\" liegt in einem ung\xc3\xbcltigen Format vor." },
        { 1, "Der Name des Streams \"Strom\" der Datei \"C:\\d\\f.msf\" ist zu lang.\r\n"
             "Dieser darf maximal 255 Zeichen lang sein." },
        { 2, "Der Stream mit dem Namem \"Strom\" wurde in der Datei \"C:\\d\\f.msf\" nicht "
             "gefunden." },
        { 3, "Kein aktueller Stream in der Datei \"C:\\d\\f.msf\"." },
    };
    for (const auto& c : cases) {
        CMultiStreamFileException* e = new CMultiStreamFileException(c.code, L"Strom", L"C:\\d\\f.msf");
        EXPECT_EQ(e->GetErrorCode(), c.code);
        EXPECT_EQ(Narrow(e->GetErrorMessage()), c.expected) << "code " << c.code;
        CString strBase;
        EXPECT_TRUE(e->GetErrorMessage(strBase));
        EXPECT_EQ(Narrow(strBase), c.expected);
        EXPECT_TRUE(e->m_bAutoDelete);
        e->Delete();
    }
}

TEST(MultiStreamFileExceptionTest, BufferFormTruncatesAndLeavesHelpContext)
{
    CMultiStreamFileException e(3, L"", L"x");
    e.m_bAutoDelete = FALSE;
    TCHAR sz[12];
    memset(sz, 0xBD, sizeof(sz));
    UINT nHelp = 77;
    EXPECT_TRUE(e.GetErrorMessage(sz, 8, &nHelp));
    EXPECT_EQ(Narrow(sz), "Kein ak");
    EXPECT_EQ(sz[8], (TCHAR)0xBDBD);
    EXPECT_EQ(nHelp, 77u);
    EXPECT_TRUE(e.GetErrorMessage(sz, 0, NULL));
}

TEST(MultiStreamFileExceptionTest, RuntimeClasses)
{
    CMultiStreamFileException e(0, L"", L"");
    e.m_bAutoDelete = FALSE;
    EXPECT_STREQ(e.GetRuntimeClass()->m_lpszClassName, "CMultiStreamFileException");
    EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(e.IsKindOf(RUNTIME_CLASS(CFileException)));
    CMultiStreamFile file;
    EXPECT_STREQ(file.GetRuntimeClass()->m_lpszClassName, "CMultiStreamFile");
    EXPECT_TRUE(file.IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_TRUE(file.HaveCurrentStream());
}

TEST_F(MultiStreamFileTest, RaisedMessagesNameTheFullPath)
{
    MakeContainer({ { L"s", "1" } });
    CMultiStreamFile file(m_path, CFile::modeRead);
    EXPECT_EQ(MessageOf([&] { file.OpenStream(L"fehlt", FALSE); }),
              "Der Stream mit dem Namem \"fehlt\" wurde in der Datei \"" + Narrow(file.GetFilePath()) +
                  "\" nicht gefunden.");
    file.Close();
}

TEST_F(MultiStreamFileTest, DamagedHeadersRaiseCodeZero)
{
    std::string valid;
    {
        ContainerImage image;
        image.Add(L"s", "abc");
        valid = image.Bytes();
    }
    std::string badDirectoryMagic = valid;
    badDirectoryMagic[19] = 'Q';
    std::string directoryAtEnd = valid;
    PutDword(directoryAtEnd, 4, (DWORD)valid.size());
    struct { const char* what; std::string bytes; UINT flags; } cases[] = {
        { "not a container", std::string("MZ\x90\0", 4) + " something else", CFile::modeRead },
        { "empty, read only", "", CFile::modeRead },
        { "directory magic", badDirectoryMagic, CFile::modeRead },
        { "directory at the end", directoryAtEnd, CFile::modeReadWrite },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(m_path, c.bytes));
        WarmUpExceptions();
        DWORD dwHandles = HandleCount();
        CString strMessage;
        int nCode = -1;
        {
            CMultiStreamFile file;
            try {
                file.Open(m_path, c.flags);
            } catch (CMultiStreamFileException* e) {
                nCode = e->GetErrorCode();
                strMessage = e->GetErrorMessage();
                e->Delete();
            }
            // The container stays open after the failure, until it is destroyed.
            EXPECT_NE(file.m_hFile, CFile::hFileNull) << c.what;
            EXPECT_EQ(Narrow(strMessage), "Die Datei \"" + Narrow(file.GetFilePath()) +
                                              "\" liegt in einem ung\xc3\xbcltigen Format vor.")
                << c.what;
        }
        EXPECT_EQ(nCode, 0) << c.what;
        EXPECT_EQ(HandleCount(), dwHandles) << c.what;
        EXPECT_EQ(Hex(ReadFileBytes(m_path)), Hex(c.bytes)) << c.what << " must stay untouched";
    }
}

TEST_F(MultiStreamFileTest, DamagedBlockRaisesCodeZeroWhenLoaded)
{
    ContainerImage image;
    image.Add(L"s", "abc");
    std::string bytes = image.Bytes();
    bytes[9] = 'x';
    ASSERT_TRUE(WriteFileBytes(m_path, bytes));
    CMultiStreamFile file(m_path, CFile::modeRead);
    EXPECT_TRUE(file.DoesStreamExist(L"s"));
    EXPECT_EQ(CodeOf([&] { file.SetCurrentStream(L"s"); }), 0);
    // A stream that failed to load is not half there.
    EXPECT_TRUE(file.HaveCurrentStream());
    EXPECT_EQ(CodeOf([&] { file.OpenStream(L"s", FALSE); }), 0);
    file.Close();
}

/////////////////////////////////////////////////////////////////////////////
// Failures of the platform: CFileException

TEST_F(MultiStreamFileTest, MissingFile)
{
    CString strMissing = m_dir.File(L"nicht da.msf");
    CFileException error;
    CMultiStreamFile file;
    EXPECT_FALSE(file.Open(strMissing, CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, (LONG)ERROR_FILE_NOT_FOUND);

    // The throwing form names the file.
    EXPECT_EQ(wivotest::CaughtAs<CFileException>(
                  [&] { CMultiStreamFile thrown(strMissing, CFile::modeRead); },
                  [](CFileException* e) { return std::to_string(e->m_cause) + " " + Narrow(e->m_strFileName); },
                  std::string("nothing thrown")),
              std::to_string(CFileException::fileNotFound) + " " + Narrow(strMissing));
}

TEST_F(MultiStreamFileTest, SharingViolation)
{
    MakeContainer({ { L"s", "1" } });
    CMultiStreamFile first(m_path, CFile::modeReadWrite | CFile::shareExclusive);
    CMultiStreamFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(m_path, CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation) << "os error " << error.m_lOsError;
    first.Close();
}

TEST_F(MultiStreamFileTest, WritingIntoAReadOnlyContainerFailsOnClose)
{
    MakeContainer({ { L"s", "abc" } });
    std::string before = Disk();
    WarmUpExceptions();
    DWORD dwHandles = HandleCount();
    {
        CMultiStreamFile file(m_path, CFile::modeRead);
        PutStream(file, L"s", "changed");
        EXPECT_EQ(CauseOf([&] { file.Close(); }), CFileException::accessDenied);
        // Abort swallows the same failure and closes.
        file.Abort();
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        EXPECT_TRUE(file.HaveCurrentStream());
    }
    EXPECT_EQ(HandleCount(), dwHandles);
    EXPECT_EQ(Hex(Disk()), Hex(before));
}

TEST_F(MultiStreamFileTest, DestructorThrowsTheCloseFailureAfterFreeing)
{
    MakeContainer({ { L"s", "abc" } });
    std::string before = Disk();
    WarmUpExceptions();
    DWORD dwHandles = HandleCount();
    EXPECT_EQ(CauseOf([&] {
                  CMultiStreamFile file(m_path, CFile::modeRead);
                  PutStream(file, L"s", "changed");
              }),
              CFileException::accessDenied);
    EXPECT_EQ(HandleCount(), dwHandles);
    EXPECT_EQ(Hex(Disk()), Hex(before));
}

} // namespace
