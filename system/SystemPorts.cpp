// SystemPorts.cpp - CSystem's lists of serial and parallel ports, found in the registry
// once and kept for the life of the library.
#include "System.h"

#include <stdlib.h>

#include "RegKey.h"

namespace {

// Counts registry searches of both kinds so that the caching can be watched from
// outside.
volatile LONG s_nPortSearches = 0;

// A list's size is set before its elements are written and sorted, so a reader that
// does not take the lock must not go by the size. It goes by these flags instead,
// raised only after a non-empty list is complete.
volatile LONG s_bSerialPortsKnown = FALSE;
volatile LONG s_bParallelPortsKnown = FALSE;

// Port devices are recognised by either of these; a device of any other class is a
// whole subtree the walk need not enter.
const TCHAR kPortsClass[] = _T("Ports");
const TCHAR kPortsClassGuid[] = _T("{4D36E978-E325-11CE-BFC1-08002BE10318}");

// Only the keys of the collecting map matter; every value is null.
void AddPortName(CMapStringToPtr& names, const CString& strName) { names[strName] = NULL; }

// The device map lists the ports the system has started, one value per port. Parallel
// ports appear as device paths such as \DosDevices\LPT1, of which only the last part is
// the port's name.
void CollectFromDeviceMap(LPCTSTR pszMapKey, BOOL bDevicePaths, CMapStringToPtr& names)
{
    CRegKey key(HKEY_LOCAL_MACHINE, pszMapKey, KEY_QUERY_VALUE);
    if (!key.IsOpen())
        return;

    try {
        CStringArray valueNames;
        key.GetValueNames(valueNames);
        for (int i = 0; i < valueNames.GetSize(); i++) {
            CString strPort = key.GetStringValue(valueNames[i], CString());
            if (strPort.IsEmpty())
                continue;
            if (bDevicePaths) {
                int nSlash = strPort.ReverseFind(_T('\\'));
                if (nSlash >= 0)
                    strPort = strPort.Mid(nSlash + 1);
                // A path ending in a backslash names no port.
                if (strPort.IsEmpty())
                    continue;
            }
            AddPortName(names, strPort);
        }
    } catch (CRegKeyException* e) {
        // What was read before the failure is still good.
        e->Delete();
    }
    key.Close();
}

// Walks one key of the device tree. Keys without a class are grouping levels (bus,
// device id) and are descended; a key with a class is a device, examined only when it
// is a port.
void WalkDeviceTree(const CRegKey& key, const CString& strPrefix, CMapStringToPtr& names)
{
    CString strClass = key.GetStringValue(_T("Class"), CString());
    CString strClassGuid = key.GetStringValue(_T("ClassGUID"), CString());

    if (strClass.IsEmpty() && strClassGuid.IsEmpty()) {
        try {
            CStringArray subKeyNames;
            key.GetSubKeyNames(subKeyNames);
            for (int i = 0; i < subKeyNames.GetSize(); i++) {
                CRegKey subKey(key, subKeyNames[i], KEY_READ);
                WalkDeviceTree(subKey, strPrefix, names);
            }
        } catch (CRegKeyException* e) {
            // One unreadable branch must not cost the ports found elsewhere.
            e->Delete();
        }
        return;
    }

    if (strClass != kPortsClass && strClassGuid != kPortsClassGuid)
        return;

    CString strName = key.GetStringValue(_T("PortName"), CString());
    if (strName.IsEmpty()) {
        // Plug-and-play drivers keep the name with the device's parameters.
        CRegKey parameters(key, _T("Device Parameters"), KEY_READ);
        strName = parameters.GetStringValue(_T("PortName"), CString());
    }

    // The class "Ports" holds serial and parallel ports alike.
    if (_tcsncmp(strName, strPrefix, strPrefix.GetLength()) == 0)
        AddPortName(names, strName);
}

void CollectFromDeviceTree(LPCTSTR pszRootKey, const CString& strPrefix, CMapStringToPtr& names)
{
    CRegKey root(HKEY_LOCAL_MACHINE, pszRootKey, KEY_READ);
    WalkDeviceTree(root, strPrefix, names);
}

// The number after "COM" or "LPT", read as C reads an unsigned number (so a name
// without digits there counts as 0).
DWORD PortNumber(const CString& strName)
{
    if (strName.GetLength() <= 3)
        return 0;
    return (DWORD)wcstoul((LPCTSTR)strName + 3, NULL, 0);
}

void SwapPorts(CStringArray& ports, CDWordArray& numbers, int i, int j)
{
    if (i == j)
        return;
    CString strName = ports[i];
    ports[i] = ports[j];
    ports[j] = strName;
    DWORD dwNumber = numbers[i];
    numbers[i] = numbers[j];
    numbers[j] = dwNumber;
}

// Quicksort by port number with the last element of each range as pivot. The smaller
// part is sorted by recursion and the larger one in the loop, which keeps the depth
// logarithmic even for a list that is already in order.
void SortByPortNumber(CStringArray& ports, CDWordArray& numbers, int nLow, int nHigh)
{
    while (nLow < nHigh) {
        const DWORD dwPivot = numbers[nHigh];
        int nStore = nLow;
        for (int i = nLow; i < nHigh; i++) {
            if (numbers[i] < dwPivot)
                SwapPorts(ports, numbers, i, nStore++);
        }
        SwapPorts(ports, numbers, nStore, nHigh);

        if (nStore - nLow < nHigh - nStore) {
            SortByPortNumber(ports, numbers, nLow, nStore - 1);
            nLow = nStore + 1;
        } else {
            SortByPortNumber(ports, numbers, nStore + 1, nHigh);
            nHigh = nStore - 1;
        }
    }
}

void SortPorts(CStringArray& ports)
{
    const int nCount = ports.GetSize();
    if (nCount < 2)
        return;
    // Each name is read once rather than at every comparison.
    CDWordArray numbers;
    numbers.SetSize(nCount);
    for (int i = 0; i < nCount; i++)
        numbers[i] = PortNumber(ports[i]);
    SortByPortNumber(ports, numbers, 0, nCount - 1);
}

// One search procedure for both kinds of port; only the name prefix, the device-map
// key, the cached list and its lock differ.
void GetPorts(LPCTSTR pszPrefix, LPCTSTR pszMapKey, BOOL bDevicePaths, CStringArray& cache,
              volatile LONG& bKnown, CCriticalSection& cs, CStringArray& ports)
{
    if (bKnown) {
        ::MemoryBarrier();
        ports.Copy(cache);
        return;
    }

    CSingleLock lock(&cs, TRUE);
    if (cache.GetSize() == 0) {
        ::InterlockedIncrement(&s_nPortSearches);

        const CString strPrefix = pszPrefix;
        CMapStringToPtr names(10);
        const COSInfo& os = CSystem::GetOSInfo();
        if (os.GetSubPlatform() == COSInfo::subPlatformWin9x) {
            CollectFromDeviceTree(_T("Enum"), strPrefix, names);
        } else if ((DWORD)os.GetOS() <= (DWORD)COSInfo::osWinNT) {
            CollectFromDeviceMap(pszMapKey, bDevicePaths, names);
        } else {
            CollectFromDeviceMap(pszMapKey, bDevicePaths, names);
            CollectFromDeviceTree(_T("SYSTEM\\CurrentControlSet\\Enum"), strPrefix, names);
        }

        cache.SetSize(names.GetCount());
        int nIndex = 0;
        POSITION pos = names.GetStartPosition();
        while (pos != NULL) {
            CString strName;
            void* pUnused = NULL;
            names.GetNextAssoc(pos, strName, pUnused);
            cache[nIndex++] = strName;
        }
        SortPorts(cache);

        if (cache.GetSize() > 0) {
            ::MemoryBarrier();
            ::InterlockedExchange(&bKnown, TRUE);
        }
    }
    ports.Copy(cache);
}

} // namespace

void CSystem::GetSerialPorts(CStringArray& ports)
{
    GetPorts(_T("COM"), _T("HARDWARE\\DEVICEMAP\\SERIALCOMM"), FALSE, s_strSerialPorts,
             s_bSerialPortsKnown, s_csGetSerialPorts, ports);
}

void CSystem::GetParallelPorts(CStringArray& ports)
{
    GetPorts(_T("LPT"), _T("HARDWARE\\DEVICEMAP\\PARALLEL PORTS"), TRUE, s_strParallelPorts,
             s_bParallelPortsKnown, s_csGetParallelPorts, ports);
}

LONG CSystem::GetPortSearchCount() { return s_nPortSearches; }
