// A module loaded and unloaded by ObjectTest: its serializable class must be
// found by name while it is loaded and be gone from the registry afterwards.
#include <afx.h>

class CPluginThing : public CObject
{
    DECLARE_SERIAL(CPluginThing)
public:
    CPluginThing() : m_nValue(77) {}
    int m_nValue;
};

IMPLEMENT_SERIAL(CPluginThing, CObject, 3)

extern "C" __declspec(dllexport) CObject* PluginCreateThing()
{
    return new CPluginThing;
}

extern "C" __declspec(dllexport) CRuntimeClass* PluginThingClass()
{
    return RUNTIME_CLASS(CPluginThing);
}
