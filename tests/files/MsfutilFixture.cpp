// MsfutilFixture - the program on the other side of msfutil's end-to-end test.
//
//   MsfutilFixture write DIR    writes sample.msf (and its expected pieces), a damaged
//                               copy, a file that is no container and a payload file
//   MsfutilFixture verify DIR   reads sample.msf after msfutil has changed it and
//                               checks every stream; prints "verified" when all agree
//
// Exit code 0 when everything worked; otherwise a message names what did not.
#include <Wivo.h>

#include "MultiStreamFileTestSupport.h"

#include <stdio.h>

#include <string>
#include <vector>

using msftest::PutStream;
using msftest::ReadStream;
using wivotest::Narrow;
using wivotest::ReadFileBytes;
using wivotest::WriteFileBytes;

namespace {

std::string DataBytes()
{
    std::string bytes(100000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = (char)(i * 31 + i / 256);
    return bytes;
}

const char kPayload[] = "payload from a plain file\n";

CString PathIn(const char* dir, const wchar_t* name)
{
    return CString(dir) + L"\\" + name;
}

int Write(const char* dir)
{
    CString strSample = PathIn(dir, L"sample.msf");
    {
        CMultiStreamFile file(strSample, CFile::modeCreate | CFile::modeReadWrite);
        PutStream(file, L"readme", "Hallo Welt\n");
        PutStream(file, L"data", DataBytes());
        PutStream(file, L"Gr\u00fc\u00dfe", "\xc3\xa4");
        file.Close();
    }
    {
        // "empty" is listed but never stored: it gets no block.
        CMultiStreamFile file(strSample, CFile::modeReadWrite);
        file.OpenStream(L"empty", TRUE);
        PutStream(file, L"zuletzt", "Ende");
        file.Close();
    }
    // The block of "data" (at 27) claims far more bytes than the file has.
    std::string damaged = ReadFileBytes(strSample);
    bool ok = damaged.size() > 35;
    if (ok)
        msftest::PutDword(damaged, 27 + 4, 0x7FFFFFFF);
    ok = ok && WriteFileBytes(PathIn(dir, L"data.bin"), DataBytes()) &&
              WriteFileBytes(PathIn(dir, L"damaged.msf"), damaged) &&
              WriteFileBytes(PathIn(dir, L"plain.txt"), "just some text, no container\n") &&
              WriteFileBytes(PathIn(dir, L"payload.bin"), kPayload) &&
              WriteFileBytes(PathIn(dir, L"empty.bin"), "");
    if (!ok) {
        fputs("cannot write the fixture files\n", stderr);
        return 1;
    }
    printf("written\n");
    return 0;
}

int Verify(const char* dir)
{
    CMultiStreamFile file(PathIn(dir, L"sample.msf"), CFile::modeRead);
    struct
    {
        const wchar_t* name;
        std::string content;
        bool exists;
    } expected[] = {
        { L"readme", kPayload, true },          // replaced
        { L"data", "", false },                 // deleted
        { L"Gr\u00fc\u00dfe", "\xc3\xa4", true },
        { L"empty", "", true },
        { L"zuletzt", "Ende", true },
        { L"neu", kPayload, true },             // added
        { L"leer", "", true },                  // added from an empty file
    };
    int nWrong = 0;
    for (const auto& e : expected) {
        std::string name = Narrow(e.name);
        if (file.DoesStreamExist(e.name) != (BOOL)e.exists) {
            fprintf(stderr, "stream %s: %s\n", name.c_str(), e.exists ? "missing" : "still there");
            ++nWrong;
        } else if (e.exists && ReadStream(file, e.name) != e.content) {
            fprintf(stderr, "stream %s: wrong content\n", name.c_str());
            ++nWrong;
        }
    }
    file.Close();
    if (nWrong != 0)
        return 1;
    printf("verified\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fputs("usage: MsfutilFixture write|verify DIR\n", stderr);
        return 2;
    }
    try {
        std::string command = argv[1];
        if (command == "write")
            return Write(argv[2]);
        if (command == "verify")
            return Verify(argv[2]);
    } catch (CException* e) {
        TCHAR szMessage[512] = { 0 };
        e->GetErrorMessage(szMessage, 512);
        fprintf(stderr, "failed: %s\n", Narrow(szMessage).c_str());
        e->Delete();
        return 1;
    }
    fputs("unknown command\n", stderr);
    return 2;
}
