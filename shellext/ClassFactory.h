#pragma once
// The class object of the extension's one class: creates plain or aggregated objects and takes
// server locks that keep the library loaded.
#include <unknwn.h>

namespace qx {

class CClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // a static object: lives with the module
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;
};

CClassFactory& ExtensionFactory();

} // namespace qx
