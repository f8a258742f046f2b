// Helpers shared by the framework tests (tests/afx).
#pragma once

#include "TestSupport.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace wivotest {

// Whether f throws an E* (deleted here).
template <class E, class F>
bool Throws(F f)
{
    return CaughtAs<E>(f, [](E*) { return true; }, false);
}

// The m_cause of the E* that f throws (deleted here); -1 when it throws none.
template <class E, class F>
int CauseOf(F f)
{
    return CaughtAs<E>(f, [](E* e) { return (int)e->m_cause; }, -1);
}

// One result for Join: a text, a number or a pointer (as a number).
struct Joinable
{
    Joinable(LPCWSTR text) : m_text(Narrow(text)) {}
    Joinable(const CString& text) : m_text(Narrow(text)) {}
    Joinable(const std::string& text) : m_text(text) {}
    Joinable(long long n) : m_text(std::to_string(n)) {}
    Joinable(const void* p) : m_text(std::to_string((INT_PTR)p)) {}
    std::string m_text;
};

// Results joined by '|', so that one comparison checks many and a failure shows them
// all. The braces fix the order: Join({f(), g()}) calls f first.
inline std::string Join(std::initializer_list<Joinable> items)
{
    std::string out;
    for (const Joinable& item : items) {
        if (&item != items.begin())
            out += '|';
        out += item.m_text;
    }
    return out;
}

// A byte string from byte values.
inline std::string Bytes(std::initializer_list<int> list)
{
    std::string out;
    for (int b : list)
        out += (char)b;
    return out;
}

// Bytes as "0A FF ..." so that a failure shows where two byte strings differ.
inline std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The bytes of a memory file.
inline std::string MemFileBytes(CMemFile& file)
{
    std::string out(file.GetLength(), '\0');
    file.SeekToBegin();
    if (!out.empty())
        file.Read(&out[0], (UINT)out.size());
    return out;
}

// Stores with f through an archive into a memory file and returns the bytes.
inline std::string StoreBytes(const std::function<void(CArchive&)>& f, int nBufSize = 4096)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        f(ar);
        ar.Close();
    }
    return MemFileBytes(file);
}

// Loads bytes with f through an archive over a memory file of exactly those bytes.
inline void LoadBytes(const std::string& bytes, const std::function<void(CArchive&)>& f,
                      int nBufSize = 4096)
{
    std::vector<BYTE> copy(bytes.begin(), bytes.end());
    copy.push_back(0xBD);   // never part of the file
    CMemFile file(copy.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load, nBufSize);
    f(ar);
    ar.Close();
}

} // namespace wivotest
