#pragma once
// The Explorer context-menu handler: one entry, "AddTo Lanternhop Launcher", that starts the
// launcher with the first selected file or folder as its whole command line.
#include "Guids.h"
#include <shlobj.h>
#include <string>

namespace qx {

class CLHLExtension : public ILHLExtension, public IShellExtInit, public IContextMenu {
public:
    // outer: the controlling unknown when aggregated, else null.
    explicit CLHLExtension(IUnknown* outer);
    virtual ~CLHLExtension();
    CLHLExtension(const CLHLExtension&) = delete;
    CLHLExtension& operator=(const CLHLExtension&) = delete;

    // The object's own IUnknown, which an aggregating object holds.
    IUnknown* Inner() { return &m_inner; }

    // IUnknown (delegating to the controlling unknown)
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return m_outer->QueryInterface(riid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer->Release(); }

    // IDispatch, served from the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* name, UINT size) override;

    const std::wstring& SelectedPath() const { return m_strSelected; }
    const std::wstring& LauncherFolder() const { return m_strFolder; }

private:
    struct InnerUnknown : public IUnknown {
        CLHLExtension* self;
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
    };

    void ReadLauncherFolder();
    HRESULT LoadTypeInfo();

    InnerUnknown m_inner;
    IUnknown* m_outer;
    volatile LONG m_refs = 1;
    ITypeInfo* m_typeInfo = nullptr;
    std::wstring m_strSelected; // the first selected item, whole, however long
    std::wstring m_strFolder;   // the launcher's folder from "Path"
};

// "D:\Tools" and "D:\Tools\" both give "D:\Tools\Lanternhop Launcher.exe".
std::wstring LauncherPathIn(const std::wstring& folder);

} // namespace qx
