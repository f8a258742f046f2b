// Version.h - a four-part version number packed into one 64-bit value.
//
//   CVersion   major.minor.build.revision, compared and shown as text
//
// Each part is a signed 16-bit number; -1 marks a part that is not defined.
// Layout of the value: major in bits 48-63, minor 32-47, build 16-31,
// revision 0-15.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CVersion
{
public:
// Constants
    static const CVersion undefined;   // all parts undefined (-1)
    static const CVersion null;        // 0.0.0.0 (0)

// Construction
    CVersion();                         // all parts undefined
    CVersion(const CVersion& other);
    CVersion(__int64 value);
    CVersion(short major, short minor);
    CVersion(short major, short minor, short build);
    CVersion(short major, short minor, short build, short revision);

    const CVersion& operator=(const CVersion& other);
    const CVersion& operator=(const __int64& value);

// Attributes
    operator __int64();
    operator unsigned __int64();
    __int64 GetVersion() const;

    // Sign-extended, so an undefined part reads as -1.
    short GetMajor() const;
    short GetMinor() const;
    short GetBuild() const;
    short GetRevision() const;

// Comparison
    // -1, 0 or 1, part by part as signed 16-bit numbers: an undefined part is
    // older than 0.
    int CompareTo(const CVersion& other) const;
    BOOL operator==(CVersion other) const;
    BOOL operator!=(CVersion other) const;
    BOOL operator<(CVersion other) const;
    BOOL operator>(CVersion other) const;
    BOOL operator<=(CVersion other) const;
    BOOL operator>=(CVersion other) const;

// Text
    CString ToString() const;
    // fields: 1 major, 2 minor, 4 build, 8 revision. Asking for build or
    // revision brings major and minor along. An undefined major or minor
    // gives "(Undefiniert)", an undefined build ends the text there, and an
    // undefined revision is left out.
    CString ToString(int fields) const;

// Implementation
protected:
    __int64 m_nVersion;
};
