// MultiStreamBench - CMultiStreamFile against an OLE compound file and a plain file.
//
// The same data (64 streams, 64 MB in all) is written and read back three ways, all
// in 64 KB calls: as streams of a CMultiStreamFile container, as streams of a compound
// file (StgCreateStorageEx, IStorage/IStream, direct mode), and as one plain CFile
// written and read sequentially, the floor for any container. Then the incremental
// case: 1 KB appended to the last stream of the container and the container closed,
// against the same append to the first stream, which rewrites the whole container.
// Each case runs several times; the best time counts. All numbers come from this run.
//
//   MultiStreamBench            64 streams of 1 MB
//   MultiStreamBench --quick    8 streams of 64 KB, to check that it builds, runs and
//                               reads back what it wrote
#include <Wivo.h>

#include "Stopwatch.h"

#include <objbase.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const UINT kChunk = 64 * 1024;
const UINT kAppend = 1024;

// The best of nRuns runs of f, in seconds.
template <class F>
double Best(int nRuns, F f)
{
    double dBest = 1e30;
    for (int i = 0; i < nRuns; ++i) {
        Stopwatch watch;
        f();
        double d = watch.Seconds();
        if (d < dBest)
            dBest = d;
    }
    return dBest;
}

struct Data
{
    std::vector<std::wstring> names;
    std::vector<std::vector<BYTE>> streams;
};

Data MakeData(int nStreams, UINT nStreamSize)
{
    Data data;
    DWORD x = 2463534242u;
    for (int i = 0; i < nStreams; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"Stream %02d", i);
        data.names.push_back(name);
        std::vector<BYTE> bytes(nStreamSize);
        for (UINT j = 0; j < nStreamSize; ++j) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            bytes[j] = (BYTE)x;
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
        for (size_t pos = 0; pos < bytes.size(); pos += kChunk)
            file.Write(&bytes[pos], (UINT)std::min<size_t>(kChunk, bytes.size() - pos));
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
        for (size_t pos = 0; pos < buffer.size(); pos += kChunk)
            file.Read(&buffer[pos], (UINT)std::min<size_t>(kChunk, buffer.size() - pos));
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
        for (size_t pos = 0; pos < bytes.size(); pos += kChunk) {
            ULONG nWritten = 0;
            hr = pStream->Write(&bytes[pos], (ULONG)std::min<size_t>(kChunk, bytes.size() - pos),
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
        for (size_t pos = 0; pos < buffer.size(); pos += kChunk) {
            ULONG nRead = 0;
            pStream->Read(&buffer[pos], (ULONG)std::min<size_t>(kChunk, buffer.size() - pos),
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
        for (size_t pos = 0; pos < bytes.size(); pos += kChunk)
            file.Write(&bytes[pos], (UINT)std::min<size_t>(kChunk, bytes.size() - pos));
    }
    file.Close();
}

void PlainRead(const CString& strPath, const Data& data)
{
    CFile file(strPath, CFile::modeRead);
    std::vector<BYTE> buffer;
    for (const std::vector<BYTE>& bytes : data.streams) {
        buffer.resize(bytes.size());
        for (size_t pos = 0; pos < buffer.size(); pos += kChunk)
            file.Read(&buffer[pos], (UINT)std::min<size_t>(kChunk, buffer.size() - pos));
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
    printf("  %-48s %10.1f ms\n", label, seconds * 1e3);
}

void PrintRatio(const char* label, double ratio, const char* goal, bool bHeld)
{
    printf("  %-48s %10.3f   goal %s: %s\n", label, ratio, goal, bHeld ? "held" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    bool bQuick = argc > 1 && strcmp(argv[1], "--quick") == 0;
    int nStreams = bQuick ? 8 : 64;
    UINT nStreamSize = bQuick ? 64 * 1024 : 1024 * 1024;
    int nRuns = bQuick ? 2 : 3;
    int nAppendRuns = bQuick ? 3 : 5;

    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strDir;
    strDir.Format(L"%smsfbench-%lu", szTemp, ::GetCurrentProcessId());
    ::CreateDirectoryW(strDir, NULL);
    CString strMsf = strDir + L"\\bench.msf";
    CString strOle = strDir + L"\\bench.stg";
    CString strPlain = strDir + L"\\bench.bin";

    ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    Data data = MakeData(nStreams, nStreamSize);
    printf("MultiStreamBench: %d streams of %u KB (%u KB in all), written and read in %u KB calls\n",
           nStreams, nStreamSize / 1024, nStreams * (nStreamSize / 1024), kChunk / 1024);

    int nResult = 0;
    try {
        double dMsfWrite = Best(nRuns, [&] { MsfWrite(strMsf, data); });
        double dMsfRead = Best(nRuns, [&] { MsfRead(strMsf, data); });
        double dOleWrite = Best(nRuns, [&] { OleWrite(strOle, data); });
        double dOleRead = Best(nRuns, [&] { OleRead(strOle, data); });
        double dPlainWrite = Best(nRuns, [&] { PlainWrite(strPlain, data); });
        double dPlainRead = Best(nRuns, [&] { PlainRead(strPlain, data); });
        // Streams live in memory: what it costs here to take that much fresh memory
        // into use is a floor for writing and for reading the container.
        double dFreshMemory = Best(nRuns, [&] { TouchFreshMemory(data); });

        // The container as written above, then grown by the appends.
        MsfWrite(strMsf, data);
        double dAppendLast = Best(nAppendRuns, [&] { MsfAppend(strMsf, data.names.back()); });
        double dAppendFirst = Best(nRuns, [&] { MsfAppend(strMsf, data.names.front()); });

        // Everything must still be there: the appended bytes follow the data.
        MsfRead(strMsf, data);

        printf("\nTimes (best of %d)\n", nRuns);
        PrintTime("CMultiStreamFile  write", dMsfWrite);
        PrintTime("CMultiStreamFile  read", dMsfRead);
        PrintTime("compound file     write", dOleWrite);
        PrintTime("compound file     read", dOleRead);
        PrintTime("plain CFile       write", dPlainWrite);
        PrintTime("plain CFile       read", dPlainRead);
        PrintTime("fresh memory for the data (malloc, touch, free)", dFreshMemory);
        PrintTime("append 1 KB to the last stream, close", dAppendLast);
        PrintTime("append 1 KB to the first stream, close (rewrite)", dAppendFirst);

        double dMsf = dMsfWrite + dMsfRead;
        double dOle = dOleWrite + dOleRead;
        double dPlain = dPlainWrite + dPlainRead;
        printf("\nRatios\n");
        printf("  %-48s %10.3f\n", "fresh memory / plain file, write + read", dFreshMemory / dPlain);
        printf("  %-48s %10.3f\n", "CMultiStreamFile / plain file, write", dMsfWrite / dPlainWrite);
        printf("  %-48s %10.3f\n", "CMultiStreamFile / plain file, read", dMsfRead / dPlainRead);
        PrintRatio("CMultiStreamFile / plain file, write + read", dMsf / dPlain, "<= 1.25",
                   dMsf / dPlain <= 1.25);
        // Writing and reading each take the data into fresh memory once; what the
        // container costs beyond that, against the plain file.
        printf("  %-48s %10.3f\n", "(CMultiStreamFile - 2 x fresh memory) / plain",
               (dMsf - 2 * dFreshMemory) / dPlain);
        printf("  %-48s %10.3f\n", "CMultiStreamFile / compound file, write", dMsfWrite / dOleWrite);
        printf("  %-48s %10.3f\n", "CMultiStreamFile / compound file, read", dMsfRead / dOleRead);
        PrintRatio("CMultiStreamFile / compound file, write + read", dMsf / dOle, "<= 1",
                   dMsf / dOle <= 1.0);
        PrintRatio("append to last / full rewrite", dAppendLast / dAppendFirst, "< 0.05",
                   dAppendLast / dAppendFirst < 0.05);
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
