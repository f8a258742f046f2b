// AfxDllMain.cpp - entry point of the framework DLL.
#include "StateImpl.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        // The application's module state is set up here, so a program that never
        // creates an application object still has its handles.
        return AfxInitFrameworkState(hInstance);
    case DLL_THREAD_DETACH:
        // Thread records are created on first use; this is where they go.
        AfxTermThreadState();
        break;
    case DLL_PROCESS_DETACH:
        // lpReserved is non-NULL when the process is exiting rather than unloading us.
        AfxTermFrameworkState(lpReserved != NULL);
        break;
    default:
        break;
    }
    return TRUE;
}
