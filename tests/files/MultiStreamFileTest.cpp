// Tests of CMultiStreamFile and CMultiStreamFileException: the bytes on disk, the
// streams as files and archives, and both kinds of failure.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "MultiStreamFileTestSupport.h"

#include <string>
#include <vector>

using wivotest::CauseOf;
using wivotest::Hex;
using wivotest::Narrow;
using wivotest::ProcessHandleCount;
using wivotest::ReadFileBytes;
using wivotest::Throws;
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
        std::vector<std::string> names;
        for (const CString& strName : file.WideNames())
            names.push_back(Narrow(strName));
        return names;
    }

    wivotest::TempDir m_dir;
    CString m_path;
};

/////////////////////////////////////////////////////////////////////////////
// The bytes on disk

TEST_F(MultiStreamFileTest, OneStreamContainerIsExactly34Bytes)
{
    MakeContainer({ { L"A", "xyz" } });
    // Spelled out once by hand: every other layout is compared with ContainerImage.
    EXPECT_EQ(Hex(Disk()), "50 52 7B 00 13 00 00 00 "                      // magic, directory at 19
                           "50 52 7B 00 03 00 00 00 78 79 7A "             // block: magic, 3 bytes
                           "50 52 7B 00 01 00 00 00 01 41 00 08 00 00 00"); // one entry: "A" at 8
    EXPECT_EQ(Hex(Disk()), Hex(ContainerImage().Add(L"A", "xyz").Bytes()));
    EXPECT_EQ(StoredNames(), std::vector<std::string>{ "A" });
    EXPECT_EQ(Reread(L"A"), "xyz");
}

// A change to a stored container (an empty file when nothing is stored: an empty file is an
// empty container when opened for writing) and the bytes it leaves: blocks are rewritten from
// the first changed stream on, then the directory; what lies before stays as it was.
struct LayoutCase
{
    const char* what;
    std::vector<std::pair<CString, std::string>> stored;
    size_t nDamage;     // a byte spoilt before the change (0: none), to prove it is not read
    void (*change)(CMultiStreamFile& file);
    std::string (*expected)(const std::string& before);
};

const LayoutCase kLayouts[] = {
    { "a stream never written is not stored", {}, 0,
      [](CMultiStreamFile& f) { f.OpenStream(L"never written", TRUE); },
      [](const std::string&) { return std::string(); } },
    { "streams after the first changed one get blocks even when empty", {}, 0,
      [](CMultiStreamFile& f) { f.OpenStream(L"A", TRUE); f.OpenStream(L"B", TRUE);
                                f.SetCurrentStream(L"A"); f.Write("xyz", 3); },
      [](const std::string&) { return ContainerImage().Add(L"A", "xyz").Add(L"B", "").Bytes(); } },
    { "names are UTF-16 with a length byte", {}, 0,
      [](CMultiStreamFile& f) { PutStream(f, L"\u00dcbersicht \u20ac", "1"); },
      [](const std::string&) { return ContainerImage().Add(L"\u00dcbersicht \u20ac", "1").Bytes(); } },
    { "names are case-sensitive", {}, 0,
      [](CMultiStreamFile& f) { PutStream(f, L"a", "lower"); PutStream(f, L"A", "upper"); },
      [](const std::string&) { return ContainerImage().Add(L"a", "lower").Add(L"A", "upper").Bytes(); } },
    { "an archive's bytes reach the stream by commit", {}, 0,
      [](CMultiStreamFile& f) { f.OpenStream(L"s", TRUE); CArchive ar(&f, CArchive::store);
                                ar << (BYTE)'o' << (BYTE)'k'; ar.Close(); },
      [](const std::string&) { return ContainerImage().Add(L"s", "ok").Bytes(); } },
    // Blocks at 8 (8 + 5 bytes), 21 (8 + 2) and 31 (8 + 3); the first one's magic spoilt.
    { "rewrite starts at the first changed stream",
      { { L"first", "11111" }, { L"second", "22" }, { L"third", "333" } }, 8,
      [](CMultiStreamFile& f) { f.SetCurrentStream(L"second"); f.Seek(0, CFile::end); f.Write("++++", 4); },
      [](const std::string& before) { return ContainerImage(before.substr(0, 21)).Keep(L"first", 8)
                                          .Add(L"second", "22++++").Add(L"third", "333").Bytes(); } },
    { "changing the last stream rewrites only its block",
      { { L"a", std::string(3000, 'a') }, { L"b", std::string(2000, 'b') } }, 0,
      [](CMultiStreamFile& f) { f.OpenStream(L"b", FALSE); f.Seek(0, CFile::end); f.Write("!", 1); },
      [](const std::string& before) { return ContainerImage(before.substr(0, 3016)).Keep(L"a", 8)
                                          .Add(L"b", std::string(2000, 'b') + "!").Bytes(); } },
    // A at 8 (12 bytes), B's dead block at 20 (14 bytes), C rewritten at its old place 34.
    { "a deleted block stays as dead space", { { L"A", "aaaa" }, { L"B", "bbbbbb" }, { L"C", "cc" } }, 8,
      [](CMultiStreamFile& f) { f.DeleteStream(L"B"); },
      [](const std::string& before) { return ContainerImage(before.substr(0, 34)).Keep(L"A", 8).Add(L"C", "cc").Bytes(); } },
    { "deleting the last stream rewrites the directory", { { L"A", "aaaa" }, { L"B", "bb" } }, 8,
      [](CMultiStreamFile& f) { f.DeleteStream(L"B"); },
      [](const std::string& before) { return ContainerImage(before.substr(0, 20)).Keep(L"A", 8).Bytes(); } },
    { "deleting the only stream leaves the header and directory", { { L"A", "aaaa" } }, 8,
      [](CMultiStreamFile& f) { f.DeleteStream(L"A"); },
      [](const std::string&) { return ContainerImage().Bytes(); } },
    { "a new stream starts behind the stored blocks", { { L"A", "aaaa" }, { L"B", "bb" } }, 8,
      [](CMultiStreamFile& f) { f.OpenStream(L"new", TRUE); f.Write("n", 1); },
      [](const std::string& before) { return ContainerImage(before.substr(0, 30)).Keep(L"A", 8)
                                          .Keep(L"B", 20).Add(L"new", "n").Bytes(); } },
    { "SetLength alone is not saved", { { L"s", "123456" } }, 0,
      [](CMultiStreamFile& f) { f.OpenStream(L"s", FALSE); f.SetLength(2); },
      [](const std::string& before) { return before; } },
};

TEST_F(MultiStreamFileTest, ChangesRewriteFromTheFirstChangedStream)
{
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.what);
        MakeContainer(c.stored);
        std::string before = Disk();
        if (c.nDamage != 0) {
            before[c.nDamage] = 'X';
            ASSERT_TRUE(WriteFileBytes(m_path, before));
        }
        {
            CMultiStreamFile file(m_path, CFile::modeReadWrite);
            c.change(file);
        }   // the destructor closes and saves
        EXPECT_EQ(Hex(Disk()), Hex(c.expected(before)));
    }
}

TEST_F(MultiStreamFileTest, LargeStreamIsOneBlockAndReadsBackExactly)
{
    std::string big(250000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (char)(i * 7 + i / 251);
    MakeContainer({ { L"big", big } });
    EXPECT_TRUE(Disk() == ContainerImage().Add(L"big", big).Bytes());
    std::string back = Reread(L"big");
    EXPECT_TRUE(back == big) << "read back " << back.size() << " bytes";
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

/////////////////////////////////////////////////////////////////////////////
// Streams as files

TEST_F(MultiStreamFileTest, CurrentStreamRules)
{
    CMultiStreamFile file(m_path, kCreate);
    EXPECT_TRUE(file.HaveCurrentStream());      // TRUE means: none
    EXPECT_EQ(CodeOf([&] { file.Read(NULL, 0); }), 3);
    EXPECT_EQ(CodeOf([&] { file.GetLength(); }), 3);
    EXPECT_EQ(CodeOf([&] { file.GetCurrentStreamName(); }), 3);
    // The archive asks for direct buffering as it is built.
    EXPECT_EQ(CodeOf([&] { CArchive ar(&file, CArchive::store); }), 3);
    // Code 2, its message naming the stream and the full path.
    EXPECT_EQ(MessageOf([&] { file.OpenStream(L"missing", FALSE); }),
              "Der Stream mit dem Namem \"missing\" wurde in der Datei \"" +
                  Narrow(file.GetFilePath()) + "\" nicht gefunden.");
    EXPECT_EQ(CodeOf([&] { file.SetCurrentStream(L"missing"); }), 2);
    EXPECT_EQ(CodeOf([&] { file.DeleteStream(L"missing"); }), 2);

    CFile* pStream = file.OpenStream(L"one", TRUE);
    EXPECT_FALSE(file.HaveCurrentStream());
    EXPECT_EQ(file.GetCurrentStreamFile(), pStream);
    EXPECT_EQ(Narrow(file.GetCurrentStreamName()), "one");
    // What memory files cannot do is not supported.
    EXPECT_TRUE(Throws<CNotSupportedException>([&] { delete file.Duplicate(); }));
    EXPECT_TRUE(Throws<CNotSupportedException>([&] { file.LockRange(0, 1); }));
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
    // Closing the stream's own file keeps its content.
    CFile* pStream = file.OpenStream(L"s", TRUE);
    pStream->Write("kept", 4);
    pStream->Close();
    pStream->Abort();
    EXPECT_EQ(file.GetLength(), 4u);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);

    EXPECT_EQ(wivotest::Join({Reread(L"x"), Reread(L"y"), Reread(L"s")}), "xZxx|yy|kept");
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

    // Opened for writing only, it is read too.
    CMultiStreamFile writer(m_path, CFile::modeWrite);
    EXPECT_EQ(ReadStream(writer, L"s"), "abcd");
    writer.Write("e", 1);
    writer.Close();
    EXPECT_EQ(Reread(L"s"), "abcde");
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

// Values of several archive buffers, a second stream between, and an append after a seek
// to the end; each stream ends after its own data.
TEST_F(MultiStreamFileTest, ArchivesRoundTripThroughSeveralStreams)
{
    {
        CMultiStreamFile file(m_path, kCreate);
        file.OpenStream(L"Zahlen", TRUE);
        {
            CArchive ar(&file, CArchive::store);
            for (DWORD i = 0; i < 20000; ++i)
                ar << i;
        }
        file.OpenStream(L"Namen", TRUE);
        {
            CArchive ar(&file, CArchive::store);
            ar << CString(L"Gr\u00fc\u00dfe");
        }
        file.SetCurrentStream(L"Zahlen");
        file.Seek(0, CFile::end);
        CArchive ar(&file, CArchive::store);
        ar << (WORD)0xBEEF;
    }

    CMultiStreamFile file(m_path, CFile::modeRead);
    BYTE extra;
    file.SetCurrentStream(L"Namen");
    {
        CArchive ar(&file, CArchive::load);
        CString a;
        ar >> a;
        EXPECT_EQ(Narrow(a), "Gr\xc3\xbc\xc3\x9f" "e");
        EXPECT_EQ(CauseOf<CArchiveException>([&] { ar >> extra; }), CArchiveException::endOfFile);
    }
    file.SetCurrentStream(L"Zahlen");
    EXPECT_EQ(file.GetLength(), 20000u * 4 + 2);
    CArchive ar(&file, CArchive::load);
    DWORD dwWrong = 0;
    for (DWORD i = 0, dw; i < 20000; ++i) {
        ar >> dw;
        if (dw != i && dwWrong++ == 0)
            ADD_FAILURE() << "value " << i << " read as " << dw;
    }
    WORD w;
    ar >> w;
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(CauseOf<CArchiveException>([&] { ar >> extra; }), CArchiveException::endOfFile);
}

/////////////////////////////////////////////////////////////////////////////
// Failure codes and their texts

TEST(MultiStreamFileExceptionTest, MessagesByCodeInBothForms)
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
        // The buffer form truncates and leaves the help context alone.
        TCHAR sz[12];
        memset(sz, 0xBD, sizeof(sz));
        UINT nHelp = 77;
        EXPECT_TRUE(e->GetErrorMessage(sz, 8, &nHelp));
        EXPECT_EQ(Narrow(sz), std::string(c.expected, 7));
        EXPECT_EQ(sz[8], (TCHAR)0xBDBD);
        EXPECT_EQ(nHelp, 77u);
        EXPECT_TRUE(e->GetErrorMessage(sz, 0, NULL));
        EXPECT_TRUE(e->m_bAutoDelete);
        e->Delete();
    }
}

TEST_F(MultiStreamFileTest, DamagedHeadersRaiseCodeZero)
{
    // Damage of every kind is tried by the robustness test; these two show that a file
    // opened for writing is left as it was.
    std::string directoryAtEnd = ContainerImage().Add(L"s", "abc").Bytes();
    PutDword(directoryAtEnd, 4, (DWORD)directoryAtEnd.size());
    struct { const char* what; std::string bytes; } cases[] = {
        { "not a container", std::string("MZ\x90\0", 4) + " something else" },
        { "directory at the end", directoryAtEnd },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(m_path, c.bytes));
        WarmUpExceptions();
        DWORD dwHandles = ProcessHandleCount();
        {
            CMultiStreamFile file;
            std::string strThrown = wivotest::CaughtAs<CMultiStreamFileException>(
                [&] { file.Open(m_path, CFile::modeReadWrite); },
                [](CMultiStreamFileException* e) {
                    return std::to_string(e->GetErrorCode()) + " " + Narrow(e->GetErrorMessage());
                },
                std::string("nothing thrown"));
            EXPECT_EQ(strThrown, "0 Die Datei \"" + Narrow(file.GetFilePath()) +
                                     "\" liegt in einem ung\xc3\xbcltigen Format vor.");
            // The container stays open after the failure, until it is destroyed.
            EXPECT_NE(file.m_hFile, CFile::hFileNull);
        }
        EXPECT_EQ(ProcessHandleCount(), dwHandles);
        EXPECT_EQ(Hex(ReadFileBytes(m_path)), Hex(c.bytes)) << "must stay untouched";
    }
}

TEST_F(MultiStreamFileTest, DamagedBlockRaisesCodeZeroWhenLoaded)
{
    std::string bytes = ContainerImage().Add(L"s", "abc").Bytes();
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

TEST_F(MultiStreamFileTest, MissingFileAndSharingViolation)
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

    MakeContainer({ { L"s", "1" } });
    CMultiStreamFile first(m_path, CFile::modeReadWrite | CFile::shareExclusive);
    EXPECT_FALSE(file.Open(m_path, CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation) << "os error " << error.m_lOsError;
    first.Close();
}

// Writing into a read-only container fails on Close, which Abort swallows, and in the
// destructor, which throws after freeing everything.
TEST_F(MultiStreamFileTest, WritingIntoAReadOnlyContainerFailsOnClose)
{
    MakeContainer({ { L"s", "abc" } });
    std::string before = Disk();
    WarmUpExceptions();
    DWORD dwHandles = ProcessHandleCount();
    {
        CMultiStreamFile file(m_path, CFile::modeRead);
        PutStream(file, L"s", "changed");
        EXPECT_EQ(CauseOf<CFileException>([&] { file.Close(); }), CFileException::accessDenied);
        file.Abort();
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        EXPECT_TRUE(file.HaveCurrentStream());
    }
    EXPECT_EQ(CauseOf<CFileException>([&] {
                  CMultiStreamFile file(m_path, CFile::modeRead);
                  PutStream(file, L"s", "changed");
              }),
              CFileException::accessDenied);
    EXPECT_EQ(ProcessHandleCount(), dwHandles);
    EXPECT_EQ(Hex(Disk()), Hex(before));
}

} // namespace
