// DataExchangeImpl.h - what the exchange and validation functions share; not
// part of the public headers.
#pragma once

#include "afxwin.h"

namespace afxdlg {

// Shows prompt nIDPrompt (with %1 and %2 put in when given) as the framework's
// message box and fails the exchange.
[[noreturn]] void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR lpsz1 = NULL,
    LPCTSTR lpsz2 = NULL);

} // namespace afxdlg
