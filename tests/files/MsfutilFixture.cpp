// MsfutilFixture - the program on the other side of msfutil's end-to-end test.
//
//   MsfutilFixture write DIR    writes sample.msf (and its expected pieces), a damaged
//                               copy, a file that is no container and a payload file
//   MsfutilFixture verify DIR   reads sample.msf after msfutil has changed it and
//                               checks every stream; prints "verified" when all agree
//
// Exit code 0 when everything worked; otherwise a message names what did not.
#include <Wivo.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

std::string DataBytes()
{
    std::string bytes(100000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = (char)(i * 31 + i / 256);
    return bytes;
}

const char kPayload[] = "payload from a plain file\n";

std::string Utf8(const wchar_t* text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, NULL, NULL);
    return out;
}

CString PathIn(const char* dir, const wchar_t* name)
{
    return CString(dir) + L"\\" + name;
}

bool WritePlain(const CString& strPath, const std::string& bytes)
{
    try {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), (UINT)bytes.size());
        file.Close();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

std::string ReadPlain(const CString& strPath)
{
    CFile file(strPath, CFile::modeRead);
    std::string bytes(file.GetLength(), '\0');
    if (!bytes.empty())
        bytes.resize(file.Read(&bytes[0], (UINT)bytes.size()));
    file.Close();
    return bytes;
}

void Put(CMultiStreamFile& file, const wchar_t* name, const std::string& content)
{
    file.OpenStream(name, TRUE);
    file.SetLength(0);
    file.Write(content.data(), (UINT)content.size());
}

std::string Get(CMultiStreamFile& file, const wchar_t* name)
{
    file.SetCurrentStream(name);
    file.Seek(0, CFile::begin);
    std::string content(file.GetLength(), '\0');
    if (!content.empty())
        content.resize(file.Read(&content[0], (UINT)content.size()));
    return content;
}

int Write(const char* dir)
{
    CString strSample = PathIn(dir, L"sample.msf");
    {
        CMultiStreamFile file(strSample, CFile::modeCreate | CFile::modeReadWrite);
        Put(file, L"readme", "Hallo Welt\n");
        Put(file, L"data", DataBytes());
        Put(file, L"Gr\u00fc\u00dfe", "\xc3\xa4");
        file.Close();
    }
    {
        // "empty" is listed but never stored: it gets no block.
        CMultiStreamFile file(strSample, CFile::modeReadWrite);
        file.OpenStream(L"empty", TRUE);
        Put(file, L"zuletzt", "Ende");
        file.Close();
    }
    std::string sample = ReadPlain(strSample);
    // The block of "data" (at 27) claims far more bytes than the file has.
    std::string damaged = sample;
    damaged.replace(27 + 4, 4, std::string("\xff\xff\xff\x7f", 4));
    bool ok = WritePlain(PathIn(dir, L"data.bin"), DataBytes()) &&
              WritePlain(PathIn(dir, L"damaged.msf"), damaged) &&
              WritePlain(PathIn(dir, L"plain.txt"), "just some text, no container\n") &&
              WritePlain(PathIn(dir, L"payload.bin"), kPayload) &&
              WritePlain(PathIn(dir, L"empty.bin"), "");
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
        std::string name = Utf8(e.name);
        if (file.DoesStreamExist(e.name) != (BOOL)e.exists) {
            fprintf(stderr, "stream %s: %s\n", name.c_str(), e.exists ? "missing" : "still there");
            ++nWrong;
        } else if (e.exists && Get(file, e.name) != e.content) {
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
        fprintf(stderr, "failed: %s\n", Utf8(szMessage).c_str());
        e->Delete();
        return 1;
    }
    fputs("unknown command\n", stderr);
    return 2;
}
