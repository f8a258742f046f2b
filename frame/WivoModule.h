// WivoModule.h - the library as an extension module of the framework.
#pragma once

#include <afx.h>

// The module state that was current when the library was attached to the
// process (the host application's), or NULL before attach and after detach.
AFX_EXT_API AFX_MODULE_STATE* GetWIVOModuleState();
