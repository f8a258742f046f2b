// ThreadInternal.cpp - retiring the handles of threads that ended by themselves.
// All of this is plain data (no construction), so it works from any point of the
// library's start and end.
#include "ThreadInternal.h"

namespace wivothread {

namespace {

struct RetiredHandle
{
    RetiredHandle* pNext;
    HANDLE hThread;
};

volatile LONG s_nRetiredLock = 0;   // spin lock over s_pRetired; held for a few CloseHandle calls
RetiredHandle* s_pRetired = NULL;

void LockRetired()
{
    while (::InterlockedCompareExchange(&s_nRetiredLock, 1, 0) != 0)
        ::SwitchToThread();
}

void UnlockRetired()
{
    ::InterlockedExchange(&s_nRetiredLock, 0);
}

// Called with the spin lock held.
void CloseRetiredIfUnused()
{
    if (::InterlockedCompareExchange(&s_nHandleUsers, 0, 0) != 0)
        return;
    while (s_pRetired != NULL) {
        RetiredHandle* pNode = s_pRetired;
        s_pRetired = pNode->pNext;
        ::CloseHandle(pNode->hThread);
        ::HeapFree(::GetProcessHeap(), 0, pNode);
    }
}

} // namespace

volatile LONG s_nHandleUsers = 0;   // members between reading a handle field and done with it

void RetireHandle(HANDLE hThread)
{
    RetiredHandle* pNode = static_cast<RetiredHandle*>(
        ::HeapAlloc(::GetProcessHeap(), 0, sizeof(RetiredHandle)));
    LockRetired();
    if (pNode != NULL) {
        pNode->hThread = hThread;
        pNode->pNext = s_pRetired;
        s_pRetired = pNode;
    } else if (::InterlockedCompareExchange(&s_nHandleUsers, 0, 0) == 0) {
        // Nowhere to keep it: close it now when that is safe, else it stays open.
        ::CloseHandle(hThread);
    }
    CloseRetiredIfUnused();
    UnlockRetired();
}

void CloseRetiredWhenUnused()
{
    LockRetired();
    CloseRetiredIfUnused();
    UnlockRetired();
}

} // namespace wivothread
