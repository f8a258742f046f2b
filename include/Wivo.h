// Wivo.h - the public interface of the Wivo10u class library.
#pragma once

#include <afx.h>

#include "WivoModule.h"
#include "ExceptionEx.h"
#include "Win32Exception.h"
#include "System.h"
#include "StringTokenizer.h"
#include "BitSet.h"
#include "Version.h"
#include "StringEx.h"
