// The container reader against damaged files: thousands of containers derived
// deterministically from valid ones. Each must either read or fail with
// CMultiStreamFileException or CFileException; nothing may crash, hang, overrun a
// buffer, allocate without bound or keep a handle.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "MultiStreamFileTestSupport.h"

#include <psapi.h>

#include <string>
#include <vector>

using wivotest::Narrow;
using namespace msftest;

namespace {

enum Outcome
{
    outcomeRead,            // opened and every stream read
    outcomeFormat,          // CMultiStreamFileException code 0
    outcomeOtherCode,       // CMultiStreamFileException with another code
    outcomeFileException,   // CFileException, or Open returned FALSE
    outcomeUnexpected,      // anything else: a failure of the test
    outcomeCount
};

const char* const kOutcomeNames[] = { "read", "format", "other code", "file exception", "unexpected" };

struct ProbeResult
{
    Outcome outcome;
    std::string detail;
};

const BYTE kSentinel = 0xBD;
const size_t kSentinelSize = 16;

// Reads every stream into a buffer with sentinel bytes behind the expected length.
// Returns an empty text when all went well, else what went wrong.
std::string ReadAllStreams(CListingFile& file)
{
    for (const CString& strName : file.WideNames()) {
        // Two entries may carry the same name; the first one is read twice then.
        file.SetCurrentStream(strName);
        file.Seek(0, CFile::begin);
        DWORD dwLength = file.GetLength();
        std::vector<BYTE> buffer(dwLength + kSentinelSize, kSentinel);
        UINT nRead = file.Read(buffer.data(), dwLength);
        std::string what = "stream \"" + Narrow(strName) + "\" ";
        if (nRead != dwLength)
            return what + "read " + std::to_string(nRead) + " of " + std::to_string(dwLength);
        for (size_t i = dwLength; i < buffer.size(); ++i) {
            if (buffer[i] != kSentinel)
                return what + "overwrote the bytes behind it";
        }
        if (file.Read(buffer.data(), 1) != 0)
            return what + "reads past its length";
    }
    return std::string();
}

// Opens the container and reads all its streams; with bModify it is opened for
// writing, and a read container gets a byte appended to its first stream and is
// closed (which rewrites it) and read once more. The test keeps a handle of its own
// on the file, hence shareDenyNone.
ProbeResult Probe(const CString& strPath, bool bModify)
{
    const UINT nShare = CFile::shareDenyNone;
    ProbeResult result = { outcomeRead, std::string() };
    try {
        CListingFile file;
        try {
            if (!file.Open(strPath, (bModify ? CFile::modeReadWrite : CFile::modeRead) | nShare))
                return { outcomeFileException, "Open returned FALSE" };
            result.detail = ReadAllStreams(file);
            std::vector<CString> names = file.WideNames();
            if (result.detail.empty() && bModify && !names.empty()) {
                file.SetCurrentStream(names.front());
                file.Seek(0, CFile::end);
                file.Write("+", 1);
                file.Close();
                if (!file.Open(strPath, CFile::modeRead | nShare))
                    return { outcomeUnexpected, "cannot reopen after the rewrite" };
                result.detail = file.WideNames() != names ? "the rewrite changed the directory"
                                                          : ReadAllStreams(file);
            }
            if (result.detail.empty())
                file.Close();
            else
                result.outcome = outcomeUnexpected;
        } catch (CMultiStreamFileException* e) {
            result = { e->GetErrorCode() == 0 ? outcomeFormat : outcomeOtherCode, Narrow(e->GetErrorMessage()) };
            e->Delete();
        } catch (CFileException* e) {
            result = { outcomeFileException, "cause " + std::to_string(e->m_cause) };
            e->Delete();
        }
        file.Abort();
    } catch (CException* e) {
        result = { outcomeUnexpected, e->GetRuntimeClass()->m_lpszClassName };
        e->Delete();
    } catch (...) {
        result = { outcomeUnexpected, "a C++ exception" };
    }
    return result;
}

// Where the parts of a valid container lie.
struct Layout
{
    DWORD dwDirectory;
    std::vector<DWORD> entryOffsets;    // of each directory entry
    std::vector<DWORD> blockOffsets;    // of each stored block
};

Layout Parse(const std::string& bytes)
{
    Layout layout = { GetDword(bytes, 4), {}, {} };
    DWORD dwPos = layout.dwDirectory + 8;
    for (DWORD i = GetDword(bytes, layout.dwDirectory + 4); i > 0; --i, dwPos += 4) {
        layout.entryOffsets.push_back(dwPos);
        dwPos += 1 + 2 * (unsigned char)bytes[dwPos];
        if (GetDword(bytes, dwPos) != 0)
            layout.blockOffsets.push_back(GetDword(bytes, dwPos));
    }
    return layout;
}

const unsigned kFormat = 1u << outcomeFormat;
const unsigned kClean = 1u << outcomeRead | kFormat | 1u << outcomeFileException;

class MultiStreamFileRobustnessTest : public ::testing::Test
{
protected:
    // The damaged containers all go through one handle that stays open: creating
    // the file anew each time would cost more than probing it.
    void SetUp() override
    {
        m_path = m_dir.File(L"damaged.msf");
        m_hWriter = CreateFileW(m_path, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(m_hWriter, INVALID_HANDLE_VALUE);
    }

    void TearDown() override
    {
        if (m_hWriter != INVALID_HANDLE_VALUE)
            CloseHandle(m_hWriter);
    }

    // Writes the damaged bytes, probes them and checks the outcome against the allowed
    // ones (a mask of outcome bits).
    void Check(const char* kind, const std::string& bytes, unsigned allowed, bool bModify = false)
    {
        DWORD dwWritten = 0;
        ASSERT_TRUE(SetFilePointer(m_hWriter, 0, NULL, FILE_BEGIN) == 0 &&
                    WriteFile(m_hWriter, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL) &&
                    dwWritten == bytes.size() && SetEndOfFile(m_hWriter));
        ProbeResult result = Probe(m_path, bModify);
        ++m_seen[result.outcome];
        if ((allowed & 1u << result.outcome) == 0 && m_nFailures++ < 20) {
            ADD_FAILURE() << kind << (bModify ? " (writing)" : "") << ": "
                          << kOutcomeNames[result.outcome] << " " << result.detail
                          << "\n  bytes " << wivotest::Hex(bytes);
        }
    }

    // The base with one field set to a value it cannot have: a format failure, read only
    // and, with bModify, also when opened for writing.
    void CheckField(const char* kind, const std::string& base, size_t offset, DWORD dw, bool bModify)
    {
        std::string bytes = base;
        PutDword(bytes, offset, dw);
        Check(kind, bytes, kFormat);
        if (bModify)
            Check(kind, bytes, kFormat, true);
    }

    wivotest::TempDir m_dir;
    CString m_path;
    HANDLE m_hWriter = INVALID_HANDLE_VALUE;
    int m_seen[outcomeCount] = {};
    int m_nFailures = 0;
};

SIZE_T PeakPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
}

// Every heap of the process still has consistent bookkeeping: an overrun of a
// heap block would have trampled the next block's header.
std::string DamagedHeap()
{
    HANDLE heaps[64];
    DWORD n = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < n && i < 64; ++i) {
        if (!HeapValidate(heaps[i], 0, NULL))
            return "heap " + std::to_string(i);
    }
    return std::string();
}

TEST_F(MultiStreamFileRobustnessTest, DamagedContainersFailCleanly)
{
    // A container with a stream of each kind: named and unnamed, empty block, no block
    // at all (offset 0: listed but never stored), and a longer one.
    const std::string small = ContainerImage().Add(L"A", "xyz").Add(L"", "12345")
                                  .Keep(L"Gru\u00df", 0).Add(L"Daten", "0123456789").Bytes();
    // One with dead space left by a delete (the block at 20) and a zero-length block.
    const std::string deadSpace = ContainerImage::Block("1111") + ContainerImage::Block("22222222");
    const std::string dead = ContainerImage(std::string(8, '\0') + deadSpace)
                                 .Keep(L"eins", 8).Add(L"leer", "").Add(L"drei", "333").Bytes();
    const Layout layout = Parse(small);
    ASSERT_EQ(layout.entryOffsets.size(), 4u);
    ASSERT_EQ(layout.blockOffsets.size(), 3u) << "one stream should have no block";

    // The undamaged ones read, also after a rewrite.
    for (const std::string* base : { &small, &dead }) {
        Check("valid", *base, 1u << outcomeRead);
        Check("valid", *base, 1u << outcomeRead, true);
    }
    WarmUpExceptions();
    DWORD dwHandles = wivotest::ProcessHandleCount();
    {
        CFile probe(m_dir.File(L"probe.bin"), CFile::modeCreate | CFile::modeWrite);
        ASSERT_EQ(wivotest::ProcessHandleCount(), dwHandles + 1)
            << "the handle count must see a file handle";
    }
    SIZE_T nPeakBefore = PeakPrivateBytes();

    for (const std::string* base : { &small, &dead }) {
        // Cut at every length. An empty file is a container only when opened for writing.
        for (size_t n = 0; n < base->size(); ++n) {
            Check("truncated", base->substr(0, n), kFormat);
            if (base == &small)
                Check("truncated", base->substr(0, n), n == 0 ? 1u << outcomeRead : kFormat, true);
        }
        // Every single byte changed in three ways; the containers that still read are
        // rewritten too.
        for (size_t i = 0; i < base->size(); ++i) {
            for (BYTE mask : { 0xFF, 0x01, 0x80 }) {
                std::string bytes = *base;
                bytes[i] = (char)(bytes[i] ^ mask);
                Check("byte flipped", bytes, kClean, mask == 0xFF);
            }
        }
    }

    // Every magic, each of its bytes.
    std::vector<DWORD> magics = layout.blockOffsets;
    magics.push_back(0);
    magics.push_back(layout.dwDirectory);
    for (DWORD dwMagic : magics) {
        for (int i = 0; i < 4; ++i) {
            std::string bytes = small;
            bytes[dwMagic + i] = (char)(bytes[dwMagic + i] + 1);
            Check("wrong magic", bytes, kFormat);
        }
    }

    const DWORD dwSize = (DWORD)small.size();
    const std::vector<DWORD> farValues = { dwSize, dwSize + 1, dwSize + 1000, 0x7FFFFFFF,
                                           0x80000000, 0xFFFFFFF8, 0xFFFFFFFF };
    // A directory at or behind the end, or inside the header.
    for (DWORD dw : farValues)
        CheckField("directory past end", small, 4, dw, true);
    for (DWORD dw = 1; dw < 8; ++dw)
        CheckField("directory in header", small, 4, dw, false);
    // Block lengths past the end of the file: must be refused without allocating them.
    for (DWORD dwBlock : layout.blockOffsets) {
        const DWORD lengths[] = { dwSize - dwBlock - 7, dwSize, 0x00FFFFFF, 0x7FFFFFFF, 0x80000000,
                                  0xFFFFFFFF };
        for (DWORD dw : lengths)
            CheckField("block length past end", small, dwBlock + 4, dw, true);
    }
    // Entries pointing outside the file, into the header or at the directory; names of
    // 255 units that the file cannot hold.
    for (DWORD dwEntry : layout.entryOffsets) {
        std::vector<DWORD> offsets = farValues;
        offsets.insert(offsets.end(), { 1, 4, 7, layout.dwDirectory, layout.dwDirectory - 4 });
        for (DWORD dw : offsets)
            CheckField("block offset outside", small, dwEntry + 1 + 2 * (BYTE)small[dwEntry], dw, false);
        std::string bytes = small;
        bytes[dwEntry] = (char)255;
        Check("name length 255", bytes, kFormat);
        Check("name length 255", bytes, kFormat, true);
    }
    // Entry counts the file cannot hold.
    for (DWORD dw : { 5u, 100u, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu })
        CheckField("entry count", small, layout.dwDirectory + 4, dw, false);

    // Deterministic random damage: a few bytes, or a field set to a boundary value
    // (the constants of Numerical Recipes' LCG).
    DWORD dwSeed = 20240611;
    auto below = [&dwSeed](DWORD n) {
        dwSeed = dwSeed * 1664525u + 1013904223u;
        return (dwSeed >> 8) % n;
    };
    const DWORD boundaries[] = { 0, 1, 7, 8, dwSize - 1, dwSize, dwSize + 1, 0xFF, 0x7FFFFFFF,
                                 0x80000000, 0xFFFFFFFF };
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = (round & 1) ? dead : small;
        for (int c = 1 + (int)below(4); c > 0; --c) {
            DWORD dwPos = below((DWORD)bytes.size());
            if (below(3) == 0 && dwPos + 4 <= bytes.size())
                PutDword(bytes, dwPos, boundaries[below(_countof(boundaries))]);
            else
                bytes[dwPos] = (char)below(256);
        }
        if (below(5) == 0)
            bytes.resize(below((DWORD)bytes.size() + 1));
        Check("random", bytes, kClean, (round % 4) == 0);
    }

    // The damage must reach both ends: containers that still read and ones refused.
    int nProbes = 0;
    for (int o = 0; o < outcomeCount; ++o) {
        printf("  %s %d", kOutcomeNames[o], m_seen[o]);
        nProbes += m_seen[o];
    }
    printf("\n");
    EXPECT_GT(nProbes, 2500);
    EXPECT_GT(m_seen[outcomeRead], 100);
    EXPECT_GT(m_seen[outcomeFormat], 1000);
    EXPECT_EQ(wivotest::ProcessHandleCount(), dwHandles) << "handles leaked";
    SIZE_T nPeakAfter = PeakPrivateBytes();
    EXPECT_LT(nPeakAfter - nPeakBefore, (SIZE_T)64 * 1024 * 1024)
        << "peak private bytes grew from " << nPeakBefore << " to " << nPeakAfter;
    EXPECT_EQ(DamagedHeap(), "");
}

} // namespace
