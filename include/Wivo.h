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
#include "MultiStreamFile.h"
#include "RegKey.h"
#include "FileVersionInfo.h"
#include "DLLVersionInfo.h"
#include "Locale.h"
#include "Shell.h"
#include "CommFile.h"
#include "OSInfo.h"
#include "ProcessorInfo.h"
#include "GUIInfo.h"
#include "DiskInfo.h"
#include "ThinThread.h"
#include "Thread.h"
#include "CurrentThread.h"
#include "SendMsgSingleLock.h"
#include "MsgHook.h"
