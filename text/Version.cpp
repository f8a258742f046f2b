// Version.cpp - CVersion.
#include "Version.h"

#include "StringEx.h"
#include "resource.h"

namespace {

inline unsigned __int64 Pack(short major, short minor, short build, short revision)
{
    return (static_cast<unsigned __int64>(static_cast<unsigned short>(major)) << 48)
        | (static_cast<unsigned __int64>(static_cast<unsigned short>(minor)) << 32)
        | (static_cast<unsigned __int64>(static_cast<unsigned short>(build)) << 16)
        | static_cast<unsigned __int64>(static_cast<unsigned short>(revision));
}

inline short Part(__int64 value, int shift)
{
    return static_cast<short>(
        static_cast<unsigned short>(static_cast<unsigned __int64>(value) >> shift));
}

inline void AppendPart(CString& text, short part)
{
    if (!text.IsEmpty())
        text += L'.';
    text += CStringEx::Str(static_cast<int>(part));
}

} // namespace

// CVersion::undefined and CVersion::null are defined with the library's other
// process-wide objects (ProcessObjects.cpp).

CVersion::CVersion()
    : m_nVersion(-1)
{
}

CVersion::CVersion(const CVersion& other)
    : m_nVersion(other.m_nVersion)
{
}

CVersion::CVersion(__int64 value)
    : m_nVersion(value)
{
}

CVersion::CVersion(short major, short minor)
    : m_nVersion(static_cast<__int64>(Pack(major, minor, -1, -1)))
{
}

CVersion::CVersion(short major, short minor, short build)
    : m_nVersion(static_cast<__int64>(Pack(major, minor, build, -1)))
{
}

CVersion::CVersion(short major, short minor, short build, short revision)
    : m_nVersion(static_cast<__int64>(Pack(major, minor, build, revision)))
{
}

const CVersion& CVersion::operator=(const CVersion& other)
{
    m_nVersion = other.m_nVersion;
    return *this;
}

const CVersion& CVersion::operator=(const __int64& value)
{
    m_nVersion = value;
    return *this;
}

CVersion::operator __int64()
{
    return m_nVersion;
}

CVersion::operator unsigned __int64()
{
    return static_cast<unsigned __int64>(m_nVersion);
}

__int64 CVersion::GetVersion() const
{
    return m_nVersion;
}

short CVersion::GetMajor() const
{
    return Part(m_nVersion, 48);
}

short CVersion::GetMinor() const
{
    return Part(m_nVersion, 32);
}

short CVersion::GetBuild() const
{
    return Part(m_nVersion, 16);
}

short CVersion::GetRevision() const
{
    return Part(m_nVersion, 0);
}

int CVersion::CompareTo(const CVersion& other) const
{
    // Part by part: the packed value alone would order a negative minor,
    // build or revision above the positive ones.
    for (int shift = 48; shift >= 0; shift -= 16) {
        const short mine = Part(m_nVersion, shift);
        const short theirs = Part(other.m_nVersion, shift);
        if (mine != theirs)
            return mine < theirs ? -1 : 1;
    }
    return 0;
}

BOOL CVersion::operator==(CVersion other) const
{
    return m_nVersion == other.m_nVersion;
}

BOOL CVersion::operator!=(CVersion other) const
{
    return m_nVersion != other.m_nVersion;
}

BOOL CVersion::operator<(CVersion other) const
{
    return CompareTo(other) < 0;
}

BOOL CVersion::operator>(CVersion other) const
{
    return CompareTo(other) > 0;
}

BOOL CVersion::operator<=(CVersion other) const
{
    return CompareTo(other) <= 0;
}

BOOL CVersion::operator>=(CVersion other) const
{
    return CompareTo(other) >= 0;
}

CString CVersion::ToString() const
{
    return ToString(15);
}

CString CVersion::ToString(int fields) const
{
    if (fields & 12)
        fields |= 3;

    CString text;
    if (fields & 1) {
        if (GetMajor() == -1)
            return CStringEx::LoadString(IDS_UNDEFINED);
        AppendPart(text, GetMajor());
    }
    if (fields & 2) {
        if (GetMinor() == -1)
            return CStringEx::LoadString(IDS_UNDEFINED);
        AppendPart(text, GetMinor());
    }
    if (fields & 4) {
        if (GetBuild() == -1)
            return text;
        AppendPart(text, GetBuild());
    }
    if ((fields & 8) && GetRevision() != -1)
        AppendPart(text, GetRevision());
    return text;
}
