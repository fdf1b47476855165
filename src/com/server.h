// What the entry points, the class objects and the conversions share: the count of live
// objects, the class bindings (CLSID, interface, how to create and wrap a core object), and the
// mapping between core objects and the interface pointers that stand for them.
#pragma once

#include <memory>

#include "com/ole.h"
#include "frame/roster.h"
#include "platform/platform.h"

namespace brv::com {

// Every live COM object (class objects, enumerators, factories) and every factory lock.
void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
bool serverInUse();

HMODULE module();

// IUnknown of an object with one interface (a class factory, an enumerator): reference
// counted, and counted among the module's live objects.
template <typename Itf>
class SingleInterface : public Itf {
  public:
    explicit SingleInterface(const IID& iid) : iid_(iid) { objectCreated(); }
    virtual ~SingleInterface() { objectDestroyed(); }
    SingleInterface(const SingleInterface&) = delete;
    SingleInterface& operator=(const SingleInterface&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid_)) {
            *ppv = static_cast<Itf*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG r = --refs_;
        if (r == 0) delete this;
        return r;
    }

  private:
    const IID& iid_;
    ULONG refs_ = 1;
};

// Lets the binding layer recognise its own objects when a client hands them back.
// {0B6B2B6E-9E37-4D27-8A38-47E2B8C5A1F0}
inline constexpr IID IID_ICoreObject = {
    0x0B6B2B6E, 0x9E37, 0x4D27, {0x8A, 0x38, 0x47, 0xE2, 0xB8, 0xC5, 0xA1, 0xF0}};

struct ClassBinding {
    ClassId id;
    const CLSID* clsid;
    const IID* iid;
    // A new reference to the default interface of a new wrapper around `core`.
    IDispatch* (*wrap)(const std::shared_ptr<ClassObject>& core);
    // A new core object, initialised, with the platform services it uses.
    std::shared_ptr<ClassObject> (*create)(const platform::Platform& platform);
};

const ClassBinding& binding(ClassId id);
const ClassBinding* findBinding(REFCLSID clsid);

// The interface pointer that stands for a core object (new reference): the existing wrapper
// when there is one, so the same core object always reaches a client as the same pointer.
IDispatch* wrapCore(const std::shared_ptr<ClassObject>& core);
// The core object behind one of our own interface pointers, or null for a foreign object.
std::shared_ptr<ClassObject> unwrapCore(IUnknown* unknown);

}  // namespace brv::com
