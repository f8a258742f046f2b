// A minimal extension DLL, registered with the framework the way extension DLLs
// do it in their DllMain.
#include <afx.h>

namespace {

AFX_EXTENSION_MODULE g_extensionModule = { FALSE, NULL, NULL, NULL, NULL };

} // namespace

// Lets the test look at the module record.
extern "C" __declspec(dllexport) AFX_EXTENSION_MODULE* TestExtGetModule()
{
    return &g_extensionModule;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(g_extensionModule, hInstance))
            return FALSE;
        new CDynLinkLibrary(g_extensionModule);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(g_extensionModule);
    }
    return TRUE;
}
