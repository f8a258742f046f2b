// Entry point of Wivo10u.dll: registers the library with the framework so that
// resource look-ups made for the host also search the library's resources.
#include "WivoModule.h"

namespace {

AFX_EXTENSION_MODULE s_extensionModule = {};
AFX_MODULE_STATE* s_pSavedModuleState = NULL;

} // namespace

AFX_MODULE_STATE* GetWIVOModuleState()
{
    return s_pSavedModuleState;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/)
{
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        // Start-up never fails: without the registration the library's texts
        // are simply not found, and its loaders return empty strings.
        AfxInitExtensionModule(s_extensionModule, hInstance);
        // The framework owns this object from here on (it is in its list of
        // resource modules); we keep no pointer. CObject's allocator reports
        // exhaustion with a memory exception, which must not leave DllMain.
        try {
            new CDynLinkLibrary(s_extensionModule, FALSE);
        } catch (CMemoryException* e) {
            e->Delete();
        }
        s_pSavedModuleState = AfxGetModuleState();
        break;
    case DLL_PROCESS_DETACH:
        s_pSavedModuleState = NULL;
        break;
    default:
        break;
    }
    return TRUE;
}
