// MultiStreamBench - CMultiStreamFile against a plain file and an OLE compound file.
//
// The same data (64 streams, 64 MB in all) is written and read back three ways, all
// in 64 KB calls: as streams of a CMultiStreamFile container, as streams of a compound
// file (StgCreateStorageEx, IStorage/IStream, direct mode), and as one plain CFile
// written and read sequentially. The container holds its streams in memory, so writing
// or reading it cannot cost less than the plain file plus taking as much fresh memory
// into use: that sum, measured here, is the baseline its times are held against. Then
// the incremental case: 1 KB appended to the last stream of the container and the
// container closed, against the same append to the first stream, which rewrites the
// whole container. The cases take turns, several rounds; the best time of each counts.
// All numbers come from this run.
//
//   MultiStreamBench            64 streams of 1 MB
//   MultiStreamBench --quick    a few MB in streams of many sizes, written in odd-sized
//                               calls, to check that it builds, runs and reads back
//                               what it wrote
#include <Wivo.h>

#include "Stopwatch.h"

#include <objbase.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kAppend = 1024;
UINT g_nChunk = 64 * 1024;

// Timed cases that take turns, so that a busy moment of the machine does not fall on
// one case alone; each keeps its best time.
class Rounds
{
public:
    void Add(const char* label, std::function<void()> f)
    {
        m_cases.push_back({ label, f, 1e30 });
    }
    void Run(int nRounds)
    {
        for (int i = 0; i < nRounds; ++i) {
            for (Case& c : m_cases) {
                Stopwatch watch;
                c.f();
                c.dBest = std::min(c.dBest, watch.Seconds());
            }
        }
    }
    // The best time of the case, in seconds.
    double operator[](const char* label) const
    {
        for (const Case& c : m_cases) {
            if (strcmp(c.label, label) == 0)
                return c.dBest;
        }
        return 0;
    }

private:
    struct Case
    {
        const char* label;
        std::function<void()> f;
        double dBest;
    };
    std::vector<Case> m_cases;
};

struct Data
{
    std::vector<std::wstring> names;
    std::vector<std::vector<BYTE>> streams;
};

Data MakeData(const std::vector<UINT>& sizes)
{
    Data data;
    DWORD x = 2463534242u;
    for (size_t i = 0; i < sizes.size(); ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"Stream %02u", (unsigned)i);
        data.names.push_back(name);
        std::vector<BYTE> bytes(sizes[i]);
        for (BYTE& b : bytes) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            b = (BYTE)x;
        }
        data.streams.push_back(bytes);
    }
    return data;
}

// Reading back must give the data written; a benchmark that reads wrong is no
// benchmark.
bool g_bWrong = false;

void CheckSame(const std::vector<BYTE>& expected, const std::vector<BYTE>& got, const char* what)
{
    if (got.size() < expected.size() || memcmp(got.data(), expected.data(), expected.size()) != 0) {
        if (!g_bWrong)
            fprintf(stderr, "%s: data read back differ from the data written\n", what);
        g_bWrong = true;
    }
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile

void MsfWrite(const CString& strPath, const Data& data)
{
    CMultiStreamFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);
    for (size_t i = 0; i < data.names.size(); ++i) {
        file.OpenStream(data.names[i].c_str(), TRUE);
        const std::vector<BYTE>& bytes = data.streams[i];
        for (size_t pos = 0; pos < bytes.size(); pos += g_nChunk)
            file.Write(&bytes[pos], (UINT)std::min<size_t>(g_nChunk, bytes.size() - pos));
    }
    file.Close();
}

void MsfRead(const CString& strPath, const Data& data)
{
    CMultiStreamFile file(strPath, CFile::modeRead);
    std::vector<BYTE> buffer;
    for (size_t i = 0; i < data.names.size(); ++i) {
        file.SetCurrentStream(data.names[i].c_str());
        file.Seek(0, CFile::begin);
        buffer.resize(file.GetLength());
        for (size_t pos = 0; pos < buffer.size(); pos += g_nChunk)
            file.Read(&buffer[pos], (UINT)std::min<size_t>(g_nChunk, buffer.size() - pos));
        CheckSame(data.streams[i], buffer, "CMultiStreamFile");
    }
    file.Close();
}

void MsfAppend(const CString& strPath, const std::wstring& strStream)
{
    static const std::vector<BYTE> extra(kAppend, 0x5A);
    CMultiStreamFile file(strPath, CFile::modeReadWrite);
    file.OpenStream(strStream.c_str(), FALSE);
    file.Seek(0, CFile::end);
    file.Write(extra.data(), (UINT)extra.size());
    file.Close();
}

// Address space the process holds privately, reserved or committed: the heaps and
// every region of virtual memory.
SIZE_T PrivateAddressSpace()
{
    SIZE_T nTotal = 0;
    MEMORY_BASIC_INFORMATION info;
    const BYTE* p = NULL;
    while (::VirtualQuery(p, &info, sizeof(info)) == sizeof(info)) {
        if (info.State != MEM_FREE && info.Type == MEM_PRIVATE)
            nTotal += info.RegionSize;
        const BYTE* pNext = (const BYTE*)info.BaseAddress + info.RegionSize;
        if (pNext <= p)
            break;
        p = pNext;
    }
    return nTotal;
}

// The loaded streams hold at least their content, and closing the container gives
// all of it back.
void CheckMemoryReturned(const CString& strPath, const Data& data)
{
    // Once through first, so that the heaps have grown to their working size.
    MsfRead(strPath, data);
    size_t nContent = 0;
    for (const std::vector<BYTE>& bytes : data.streams)
        nContent += bytes.size();

    SIZE_T nBefore = PrivateAddressSpace();
    CMultiStreamFile file(strPath, CFile::modeRead);
    for (const std::wstring& name : data.names)
        file.SetCurrentStream(name.c_str());
    SIZE_T nLoaded = PrivateAddressSpace();
    file.Close();
    SIZE_T nAfter = PrivateAddressSpace();

    const SIZE_T kSlack = 256 * 1024;
    if (nLoaded < nBefore + nContent) {
        fprintf(stderr, "loading %u KB of streams took only %ld KB of address space\n",
                (unsigned)(nContent / 1024), (long)((LONGLONG)nLoaded - (LONGLONG)nBefore) / 1024);
        g_bWrong = true;
    }
    if (nAfter > nBefore + kSlack) {
        fprintf(stderr, "closing the container left %u KB of its %u KB of address space taken\n",
                (unsigned)((nAfter - nBefore) / 1024), (unsigned)((nLoaded - nBefore) / 1024));
        g_bWrong = true;
    }
}

/////////////////////////////////////////////////////////////////////////////
// OLE compound file

bool Succeeded(HRESULT hr, const char* what)
{
    if (FAILED(hr)) {
        if (!g_bWrong)
            fprintf(stderr, "%s failed: 0x%08lx\n", what, (unsigned long)hr);
        g_bWrong = true;
        return false;
    }
    return true;
}

void OleWrite(const CString& strPath, const Data& data)
{
    IStorage* pStorage = NULL;
    HRESULT hr = ::StgCreateStorageEx(strPath, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                      STGFMT_STORAGE, 0, NULL, NULL, IID_IStorage,
                                      (void**)&pStorage);
    if (!Succeeded(hr, "StgCreateStorageEx"))
        return;
    for (size_t i = 0; i < data.names.size(); ++i) {
        IStream* pStream = NULL;
        hr = pStorage->CreateStream(data.names[i].c_str(),
                                    STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &pStream);
        if (!Succeeded(hr, "IStorage::CreateStream"))
            break;
        const std::vector<BYTE>& bytes = data.streams[i];
        for (size_t pos = 0; pos < bytes.size(); pos += g_nChunk) {
            ULONG nWritten = 0;
            hr = pStream->Write(&bytes[pos], (ULONG)std::min<size_t>(g_nChunk, bytes.size() - pos),
                                &nWritten);
            if (!Succeeded(hr, "IStream::Write"))
                break;
        }
        pStream->Release();
    }
    Succeeded(pStorage->Commit(STGC_DEFAULT), "IStorage::Commit");
    pStorage->Release();
}

void OleRead(const CString& strPath, const Data& data)
{
    IStorage* pStorage = NULL;
    HRESULT hr = ::StgOpenStorageEx(strPath, STGM_READ | STGM_SHARE_EXCLUSIVE, STGFMT_STORAGE, 0,
                                    NULL, NULL, IID_IStorage, (void**)&pStorage);
    if (!Succeeded(hr, "StgOpenStorageEx"))
        return;
    std::vector<BYTE> buffer;
    for (size_t i = 0; i < data.names.size(); ++i) {
        IStream* pStream = NULL;
        hr = pStorage->OpenStream(data.names[i].c_str(), NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                  &pStream);
        if (!Succeeded(hr, "IStorage::OpenStream"))
            break;
        STATSTG stat;
        memset(&stat, 0, sizeof(stat));
        pStream->Stat(&stat, STATFLAG_NONAME);
        buffer.resize((size_t)stat.cbSize.QuadPart);
        for (size_t pos = 0; pos < buffer.size(); pos += g_nChunk) {
            ULONG nRead = 0;
            pStream->Read(&buffer[pos], (ULONG)std::min<size_t>(g_nChunk, buffer.size() - pos),
                          &nRead);
        }
        pStream->Release();
        CheckSame(data.streams[i], buffer, "compound file");
    }
    pStorage->Release();
}

/////////////////////////////////////////////////////////////////////////////
// Plain file

void PlainWrite(const CString& strPath, const Data& data)
{
    CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
    for (const std::vector<BYTE>& bytes : data.streams) {
        for (size_t pos = 0; pos < bytes.size(); pos += g_nChunk)
            file.Write(&bytes[pos], (UINT)std::min<size_t>(g_nChunk, bytes.size() - pos));
    }
    file.Close();
}

void PlainRead(const CString& strPath, const Data& data)
{
    CFile file(strPath, CFile::modeRead);
    std::vector<BYTE> buffer;
    for (const std::vector<BYTE>& bytes : data.streams) {
        buffer.resize(bytes.size());
        for (size_t pos = 0; pos < buffer.size(); pos += g_nChunk)
            file.Read(&buffer[pos], (UINT)std::min<size_t>(g_nChunk, buffer.size() - pos));
        CheckSame(bytes, buffer, "plain file");
    }
    file.Close();
}

/////////////////////////////////////////////////////////////////////////////

volatile BYTE g_bySink;

void TouchFreshMemory(const Data& data)
{
    std::vector<BYTE*> blocks;
    for (const std::vector<BYTE>& bytes : data.streams) {
        BYTE* p = (BYTE*)malloc(bytes.size());
        if (p == NULL)
            break;
        memset(p, 1, bytes.size());
        g_bySink = p[bytes.size() / 2];
        blocks.push_back(p);
    }
    for (BYTE* p : blocks)
        free(p);
}

void PrintTime(const char* label, double seconds)
{
    printf("  %-52s %10.1f ms\n", label, seconds * 1e3);
}

void PrintRatio(const char* label, double ratio)
{
    printf("  %-52s %10.3f\n", label, ratio);
}

void PrintGoal(const char* label, double ratio, const char* goal, bool bHeld)
{
    printf("  %-52s %10.3f   goal %s: %s\n", label, ratio, goal, bHeld ? "held" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    bool bQuick = argc > 1 && strcmp(argv[1], "--quick") == 0;
    // The quick run takes every way a stream's memory can grow: from nothing, in small
    // and in large steps, past what was set aside for it.
    std::vector<UINT> sizes = bQuick ? std::vector<UINT>{ 0, 1, 1000, 65535, 65536, 200000,
                                                           1100000, 3000000 }
                                     : std::vector<UINT>(64, 1024 * 1024);
    if (bQuick)
        g_nChunk = 4000;
    int nRounds = bQuick ? 2 : 5;

    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strDir;
    strDir.Format(L"%smsfbench-%lu", szTemp, ::GetCurrentProcessId());
    ::CreateDirectoryW(strDir, NULL);
    CString strMsf = strDir + L"\\bench.msf";
    CString strOle = strDir + L"\\bench.stg";
    CString strPlain = strDir + L"\\bench.bin";

    ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    Data data = MakeData(sizes);
    size_t nTotal = 0;
    for (UINT n : sizes)
        nTotal += n;
    printf("MultiStreamBench: %u streams, %u KB in all, written and read in %u byte calls\n",
           (unsigned)sizes.size(), (unsigned)(nTotal / 1024), g_nChunk);

    int nResult = 0;
    try {
        Rounds rounds;
        rounds.Add("msf write", [&] { MsfWrite(strMsf, data); });
        rounds.Add("msf read", [&] { MsfRead(strMsf, data); });
        rounds.Add("plain write", [&] { PlainWrite(strPlain, data); });
        rounds.Add("plain read", [&] { PlainRead(strPlain, data); });
        rounds.Add("fresh memory", [&] { TouchFreshMemory(data); });
        rounds.Run(nRounds);
        // Only for comparison, and slow: fewer rounds.
        Rounds ole;
        ole.Add("ole write", [&] { OleWrite(strOle, data); });
        ole.Add("ole read", [&] { OleRead(strOle, data); });
        ole.Run(2);

        // The container as written above, then grown by the appends.
        MsfWrite(strMsf, data);
        Rounds appends;
        appends.Add("append last", [&] { MsfAppend(strMsf, data.names.back()); });
        appends.Add("append first", [&] { MsfAppend(strMsf, data.names.front()); });
        appends.Run(nRounds);

        // Everything must still be there: the appended bytes follow the data.
        MsfRead(strMsf, data);
        if (bQuick)
            CheckMemoryReturned(strMsf, data);

        double dMsfWrite = rounds["msf write"];
        double dMsfRead = rounds["msf read"];
        double dPlainWrite = rounds["plain write"];
        double dPlainRead = rounds["plain read"];
        double dFresh = rounds["fresh memory"];
        double dOleWrite = ole["ole write"];
        double dOleRead = ole["ole read"];
        double dAppendLast = appends["append last"];
        double dAppendFirst = appends["append first"];
        // What any container that holds its streams in memory pays at least.
        double dBaseWrite = dPlainWrite + dFresh;
        double dBaseRead = dPlainRead + dFresh;

        printf("\nTimes (best of %d rounds)\n", nRounds);
        PrintTime("CMultiStreamFile  write", dMsfWrite);
        PrintTime("CMultiStreamFile  read", dMsfRead);
        PrintTime("plain CFile       write", dPlainWrite);
        PrintTime("plain CFile       read", dPlainRead);
        PrintTime("fresh memory for the data (malloc, touch, free)", dFresh);
        PrintTime("plain file plus fresh memory, write", dBaseWrite);
        PrintTime("plain file plus fresh memory, read", dBaseRead);
        PrintTime("compound file     write", dOleWrite);
        PrintTime("compound file     read", dOleRead);
        PrintTime("append 1 KB to the last stream, close", dAppendLast);
        PrintTime("append 1 KB to the first stream, close (rewrite)", dAppendFirst);

        const double kGoal = 1.5;
        bool bWriteHeld = dMsfWrite / dBaseWrite <= kGoal;
        bool bReadHeld = dMsfRead / dBaseRead <= kGoal;
        bool bAppendHeld = dAppendLast / dAppendFirst < 0.05;
        printf("\nRatios%s\n", bQuick ? " (of a run too small to hold the goals to)" : "");
        PrintGoal("CMultiStreamFile / plain file plus fresh memory, write", dMsfWrite / dBaseWrite,
                  "<= 1.5", bWriteHeld);
        PrintGoal("CMultiStreamFile / plain file plus fresh memory, read", dMsfRead / dBaseRead,
                  "<= 1.5", bReadHeld);
        PrintGoal("append to last / full rewrite", dAppendLast / dAppendFirst, "< 0.05",
                  bAppendHeld);
        PrintRatio("CMultiStreamFile / plain file, write", dMsfWrite / dPlainWrite);
        PrintRatio("CMultiStreamFile / plain file, read", dMsfRead / dPlainRead);
        PrintRatio("fresh memory / plain file, write + read", dFresh / (dPlainWrite + dPlainRead));
        PrintRatio("CMultiStreamFile / compound file, write", dMsfWrite / dOleWrite);
        PrintRatio("CMultiStreamFile / compound file, read", dMsfRead / dOleRead);
    } catch (CException* e) {
        TCHAR szMessage[512] = { 0 };
        e->GetErrorMessage(szMessage, 512);
        char szNarrow[1024] = { 0 };
        ::WideCharToMultiByte(CP_UTF8, 0, szMessage, -1, szNarrow, sizeof(szNarrow), NULL, NULL);
        fprintf(stderr, "failed: %s\n", szNarrow);
        e->Delete();
        nResult = 1;
    }

    ::CoUninitialize();
    ::DeleteFileW(strMsf);
    ::DeleteFileW(strOle);
    ::DeleteFileW(strPlain);
    ::RemoveDirectoryW(strDir);
    if (g_bWrong)
        nResult = 1;
    return nResult;
}
