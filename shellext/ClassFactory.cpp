#include "ClassFactory.h"
#include "LHLExtension.h"
#include "Module.h"
#include <new>

namespace qx {

CClassFactory& ExtensionFactory() {
    static CClassFactory factory;
    return factory;
}

HRESULT CClassFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CClassFactory::AddRef() {
    ModuleAddRef();
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

ULONG CClassFactory::Release() {
    const LONG refs = ::InterlockedDecrement(&m_refs);
    ModuleRelease();
    return static_cast<ULONG>(refs);
}

HRESULT CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    // An aggregating object may ask only for the inner unknown.
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) CLHLExtension(outer);
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->Inner()->QueryInterface(riid, out);
    object->Inner()->Release(); // the creation reference; the interface keeps its own
    return hr;
}

HRESULT CClassFactory::LockServer(BOOL lock) {
    if (lock) ModuleAddRef();
    else ModuleRelease();
    return S_OK;
}

} // namespace qx
