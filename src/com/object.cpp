#include "com/object.h"

namespace brv::com {

ComObject::ComObject(std::shared_ptr<ClassObject> core)
    : core_(std::move(core)), info_(classInfo(core_->classId())) {
    core_->peer = this;
    objectCreated();
}

ComObject::~ComObject() {
    if (core_->peer == this) core_->peer = nullptr;
    objectDestroyed();
}

ULONG ComObject::release() {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
}

IDispatch* wrapCore(const std::shared_ptr<ClassObject>& core) {
    if (auto* existing = static_cast<ComObject*>(core->peer)) {
        existing->addRef();
        return existing->dispatch();
    }
    return binding(core->classId()).wrap(core);
}

std::shared_ptr<ClassObject> unwrapCore(IUnknown* unknown) {
    void* found = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_ICoreObject, &found)) || !found)
        return nullptr;
    auto* obj = static_cast<ComObject*>(found);
    auto core = obj->core();
    obj->release();
    return core;
}

}  // namespace brv::com
