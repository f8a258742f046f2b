// The library's process-wide objects. They are defined in this one file because
// objects of one translation unit are constructed in the order of their
// definitions when the DLL is loaded (before its entry point runs), and
// destroyed in the reverse order when it is unloaded; across files the order
// would be up to the linker. Objects of classes still to come take their
// places in this list as those classes arrive.
#include "DIBitmap.h"
#include "LocaleInternal.h"
#include "MsgHook.h"
#include "System.h"
#include "ThinThread.h"
#include "Version.h"

// The shared number-format records of CLocale, one per locale identifier.
CLocaleRecordMap s_localeMap;

// The first hook of every hooked window.
CMapPtrToPtr CMsgHook::s_hookMap(10);

// The table through which CDIBitmap reads colour tables to build its palettes.
RGBQUAD CDIBitmap::s_rgbColorTable[256];

// The caches of CSystem, each with the lock that guards its first filling.
CCriticalSection CSystem::s_csUpdateProcessorInfo;
CArray<CProcessorInfo, CProcessorInfo&> CSystem::s_processors;
CCriticalSection CSystem::s_csGetOSInfo;
CCriticalSection CSystem::s_csGetGUIInfo;
COSInfo CSystem::s_osInfo;
CGUIInfo CSystem::s_guiInfo;
CCriticalSection CSystem::s_csGetSerialPorts;
CCriticalSection CSystem::s_csGetParallelPorts;
CStringArray CSystem::s_strSerialPorts;
CStringArray CSystem::s_strParallelPorts;

// The registry of running thin threads and its lock.
CMap<unsigned long, unsigned long, CThinThread*, CThinThread*> CThinThread::s_ThreadMap(10);
CCriticalSection CThinThread::s_csThreadMap;

// The main thread is the one that loads the library, so it is recorded now, on
// the loading thread.
HANDLE CThinThread::s_hMainThread = ::GetCurrentThread();
DWORD CThinThread::s_dwMainThreadID = ::GetCurrentThreadId();

const CVersion CVersion::undefined;
const CVersion CVersion::null(static_cast<__int64>(0));
