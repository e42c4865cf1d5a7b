#pragma once
// The class object of the extension's one class: creates plain or aggregated objects and takes
// server locks that keep the library loaded.
#include <unknwn.h>

namespace qx {

class CClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    // A static object, never deleted; but every reference a caller holds keeps the library
    // loaded, or DllCanUnloadNow would let the code go from under a held class object.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    volatile LONG m_refs = 0;
};

CClassFactory& ExtensionFactory();

} // namespace qx
