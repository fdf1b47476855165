// The class roster: the thirteen public classes, which of them a client may create, and the
// base of every core class object.
#pragma once

#include <array>
#include <span>

#include "frame/object.h"

namespace brv {

inline constexpr StringView kLibraryName = u"Brevanto";
// The application title: source of ExecuteFile's shell errors, caption of the error box.
inline constexpr StringView kAppTitle = u"Brevanto";

enum class ClassId {
    Win32API,
    ArrayHelper,
    DateHelper,
    VBObjectHelper,
    OS32Helper,
    TextHelper,
    CRegistryAdvanced,
    CDialog,
    CRegistryBasic,
    SQLRoutines,
    clsCommandParam,
    CommandParams,
    ArrayCollectionHelper,
};

struct ClassInfo {
    ClassId id;
    StringView name;
    bool creatable;
    StringView defaultInterface;
    StringView progId;  // also the default error source of the class
};

// In roster order.
std::span<const ClassInfo> classRoster();
const ClassInfo& classInfo(ClassId id);

// Base of the thirteen classes. Natively a core object has no late-bound members; the binding
// layer exposes it through its dual interface instead.
class ClassObject : public Object {
  public:
    explicit ClassObject(ClassId id) : id_(id) {}
    ClassId classId() const { return id_; }
    Variant invoke(StringView name, CallKind kind, std::span<Variant> args) override;

    // The binding layer's wrapper that currently stands for this object (not owned), so that
    // the same core object always reaches a client as the same interface pointer.
    void* peer = nullptr;

  private:
    ClassId id_;
};

}  // namespace brv
