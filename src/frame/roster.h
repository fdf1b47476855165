// The class roster: the thirteen public classes, which of them a client may create, and the
// base of every core class object.
#pragma once

#include <array>
#include <span>

#include "frame/object.h"
#include "frame/version.h"

// Every public class once, in type-library order, with whether a client may create it. The
// class ids, the roster and the COM bindings are all generated from this list, so an entry
// cannot land at another class's position.
#define BREVANTO_CLASSES(X)    \
    X(Win32API, true)          \
    X(ArrayHelper, true)       \
    X(DateHelper, true)        \
    X(VBObjectHelper, true)    \
    X(OS32Helper, true)        \
    X(TextHelper, true)        \
    X(CRegistryAdvanced, true) \
    X(CDialog, true)           \
    X(CRegistryBasic, true)    \
    X(SQLRoutines, true)       \
    X(clsCommandParam, false)  \
    X(CommandParams, true)     \
    X(ArrayCollectionHelper, true)

namespace brv {

inline constexpr StringView kLibraryName = u"" BREVANTO_LIBRARY_NAME;
// The application title: source of ExecuteFile's shell errors, caption of the error box.
inline constexpr StringView kAppTitle = u"Brevanto";

enum class ClassId {
#define BREVANTO_CLASS_ID(name, creatable) name,
    BREVANTO_CLASSES(BREVANTO_CLASS_ID)
#undef BREVANTO_CLASS_ID
};

inline constexpr std::size_t kClassCount = 0
#define BREVANTO_COUNT_CLASS(name, creatable) +1
    BREVANTO_CLASSES(BREVANTO_COUNT_CLASS)
#undef BREVANTO_COUNT_CLASS
    ;

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
