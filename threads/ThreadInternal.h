// ThreadInternal.h - what the thread classes share about thread handles; not
// part of the library's interface.
//
// A thread that returns from Run clears its object's handle field, but another
// thread may have read the field just before and be about to wait on it or query
// it. So the ending thread retires its handle, and retired handles are closed
// only at a moment when no member is using a handle read from a field.
#pragma once

#include <windows.h>

namespace wivothread {

extern volatile LONG s_nHandleUsers;

// Closes hThread as soon as no member is using a handle read from a field.
void RetireHandle(HANDLE hThread);
// Called when the last user is done; closes what was retired meanwhile.
void CloseRetiredWhenUnused();

// Brackets the use of a handle read from a field after construction of the guard.
class CHandleUse
{
public:
    CHandleUse() { ::InterlockedIncrement(&s_nHandleUsers); }
    ~CHandleUse()
    {
        if (::InterlockedDecrement(&s_nHandleUsers) == 0)
            CloseRetiredWhenUnused();
    }

private:
    CHandleUse(const CHandleUse&);
    void operator=(const CHandleUse&);
};

} // namespace wivothread
