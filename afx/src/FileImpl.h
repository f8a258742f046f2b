// FileImpl.h - what the file classes share; not part of the public headers.
#pragma once

#include "afx.h"

namespace afxfile {

// Throws the CFileException for GetLastError(), a generic one when that is 0.
[[noreturn]] void ThrowLastError(LPCTSTR lpszFileName);

// Conversions between file times (UTC) and CTime; a time before 1970 is CTime 0.
CTime FileTimeToTime(const FILETIME& ft);
FILETIME TimeToFileTime(const CTime& time);

} // namespace afxfile
