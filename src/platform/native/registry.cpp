#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/host.h"
#include "platform/native/memory_registry.h"

namespace brv::platform {

namespace {

// The registry's limits: 255 characters a key name, 16,383 a value name.
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;

char16_t foldChar(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 32);
    return c;
}

String fold(StringView s) {
    String out(s);
    for (auto& c : out) c = foldChar(c);
    return out;
}

bool isText(uint32_t type) {
    return type == 1 || type == 2 || type == 7;
}

struct Value {
    String name;
    uint32_t type = 0;
    std::string data;
};

struct Node {
    String name;
    String keyClass;
    std::weak_ptr<Node> parent;
    std::vector<Value> values;
    std::vector<std::shared_ptr<Node>> children;  // sorted by folded name
    bool deleted = false;

    Value* findValue(StringView n) {
        const String f = fold(n);
        for (auto& v : values)
            if (fold(v.name) == f) return &v;
        return nullptr;
    }
    std::vector<std::shared_ptr<Node>>::iterator lowerBound(const String& folded) {
        return std::lower_bound(
            children.begin(), children.end(), folded,
            [](const std::shared_ptr<Node>& c, const String& f) { return fold(c->name) < f; });
    }
    std::shared_ptr<Node> child(StringView n) {
        const String f = fold(n);
        auto it = lowerBound(f);
        return it != children.end() && fold((*it)->name) == f ? *it : nullptr;
    }
};

// A saved key: values and sub-keys, detached from any tree.
std::shared_ptr<Node> copyTree(const Node& from) {
    auto n = std::make_shared<Node>();
    n->name = from.name;
    n->keyClass = from.keyClass;
    n->values = from.values;
    for (const auto& c : from.children) {
        auto copy = copyTree(*c);
        copy->parent = n;
        n->children.push_back(copy);
    }
    return n;
}

void markDeleted(Node& n) {
    n.deleted = true;
    for (auto& c : n.children) markDeleted(*c);
}

constexpr struct {
    uint32_t number;
    const char16_t* name;
} kRoots[] = {{0x80000000u, u"HKEY_CLASSES_ROOT"},   {0x80000001u, u"HKEY_CURRENT_USER"},
              {0x80000002u, u"HKEY_LOCAL_MACHINE"},  {0x80000003u, u"HKEY_USERS"},
              {0x80000005u, u"HKEY_CURRENT_CONFIG"}, {0x80000006u, u"HKEY_DYN_DATA"}};

RegKey rootKey(uint32_t number) {
    return static_cast<RegKey>(static_cast<int32_t>(number));
}

}  // namespace

struct MemoryRegistry::State {
    std::map<RegKey, std::shared_ptr<Node>> roots;
    std::unordered_map<RegKey, std::shared_ptr<Node>> handles;
    std::map<String, std::shared_ptr<Node>> files;
    RegKey next = 0x1000;
    Fault fault;

    // The key a handle stands for, or the code the platform answers.
    int32_t resolve(RegKey key, std::shared_ptr<Node>& out) {
        if (auto r = roots.find(key); r != roots.end()) {
            out = r->second;
            return 0;
        }
        auto h = handles.find(key);
        if (h == handles.end()) return reg::InvalidHandle;
        out = h->second;
        return out->deleted ? reg::KeyDeleted : 0;
    }

    static String pathOf(const Node& n) {
        String path = n.name;
        for (auto p = n.parent.lock(); p; p = p->parent.lock()) path = p->name + u"\\" + path;
        return path;
    }

    int32_t ask(Op op, const String& keyPath, StringView name = {}) const {
        return fault ? fault(op, keyPath, name) : 0;
    }

    static std::vector<String> split(StringView path) {
        std::vector<String> parts;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find(u'\\', start);
            if (end == StringView::npos) end = path.size();
            if (end > start) parts.emplace_back(path.substr(start, end - start));
            start = end + 1;
        }
        return parts;
    }

    // Walks `path` below `from`; `create` adds what is missing (and says whether it did).
    int32_t walk(std::shared_ptr<Node> from, StringView path, bool create, StringView keyClass,
                 std::shared_ptr<Node>& out, bool& created) {
        created = false;
        if (!path.empty() && path.front() == u'\\') return reg::BadPathName;
        for (const String& part : split(path)) {
            if (part.size() > kMaxKeyName) return reg::MoreData;
            auto next = from->child(part);
            if (!next) {
                if (!create) return reg::FileNotFound;
                next = std::make_shared<Node>();
                next->name = part;
                next->keyClass = String(keyClass);
                next->parent = from;
                from->children.insert(from->lowerBound(fold(part)), next);
                created = true;
            }
            from = next;
        }
        out = from;
        return 0;
    }

    // The key that `path` names below `parent`, after the fault hook has had its say.
    int32_t reach(RegKey parent, StringView path, Op op, bool create, StringView keyClass,
                  std::shared_ptr<Node>& node, bool& created) {
        std::shared_ptr<Node> from;
        if (int32_t rc = resolve(parent, from)) return rc;
        path = path.substr(0, path.find(u'\0'));  // the system reads up to the terminator
        if (int32_t rc = ask(op, pathOf(*from) + u"\\" + String(path))) return rc;
        return walk(from, path, create, keyClass, node, created);
    }

    RegKey handleFor(RegKey parent, StringView path, const std::shared_ptr<Node>& node) {
        if (roots.count(parent) && split(path).empty()) return parent;
        const RegKey h = next;
        next += 4;
        handles[h] = node;
        return h;
    }
};

MemoryRegistry::MemoryRegistry() : state_(std::make_unique<State>()) {
    for (const auto& r : kRoots) {
        auto n = std::make_shared<Node>();
        n->name = r.name;
        state_->roots[rootKey(r.number)] = n;
    }
}

MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::setFault(Fault fault) {
    state_->fault = std::move(fault);
}

std::size_t MemoryRegistry::openKeys() const {
    return state_->handles.size();
}

int32_t MemoryRegistry::openKey(RegKey parent, StringView path, uint32_t, RegKey& key) const {
    key = 0;
    std::shared_ptr<Node> node;
    bool created;
    if (int32_t rc = state_->reach(parent, path, Op::Open, false, {}, node, created)) return rc;
    key = state_->handleFor(parent, path, node);
    return 0;
}

int32_t MemoryRegistry::createKey(RegKey parent, StringView path, StringView keyClass, uint32_t,
                                  uint32_t, RegKey& key, uint32_t& disposition) const {
    key = 0;
    std::shared_ptr<Node> node;
    bool created;
    if (int32_t rc = state_->reach(parent, path, Op::Create, true, keyClass, node, created))
        return rc;
    disposition = created ? reg::CreatedNewKey : reg::OpenedExistingKey;
    key = state_->handleFor(parent, path, node);
    return 0;
}

int32_t MemoryRegistry::closeKey(RegKey key) const {
    if (state_->roots.count(key)) return 0;
    return state_->handles.erase(key) ? 0 : reg::InvalidHandle;
}

int32_t MemoryRegistry::queryInfoKey(RegKey key, RegKeyInfo& info) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::QueryInfo, State::pathOf(*node))) return rc;
    info = {};
    info.subKeys = static_cast<uint32_t>(node->children.size());
    for (const auto& c : node->children) {
        info.maxSubKeyLength =
            std::max(info.maxSubKeyLength, static_cast<uint32_t>(c->name.size()));
        info.maxClassLength =
            std::max(info.maxClassLength, static_cast<uint32_t>(c->keyClass.size()));
    }
    info.values = static_cast<uint32_t>(node->values.size());
    for (const auto& v : node->values) {
        info.maxValueNameLength =
            std::max(info.maxValueNameLength, static_cast<uint32_t>(v.name.size()));
        // The registry keeps text as UTF-16: two bytes for each code-page byte here.
        const std::size_t stored = isText(v.type) ? v.data.size() * 2 : v.data.size();
        info.maxValueDataLength = std::max(info.maxValueDataLength, static_cast<uint32_t>(stored));
    }
    return 0;
}

int32_t MemoryRegistry::enumValue(RegKey key, uint32_t index, String& name, uint32_t& nameLength,
                                  uint32_t& type, std::string* data, uint32_t& dataLength) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::EnumValue, State::pathOf(*node))) return rc;
    if (index >= node->values.size()) return reg::NoMoreItems;
    const Value& v = node->values[index];
    type = v.type;
    const auto size = static_cast<uint32_t>(v.data.size());
    // The name must fit with its terminator; the data as it is.
    if (v.name.size() >= nameLength || (data && size > dataLength)) {
        dataLength = size;
        return reg::MoreData;
    }
    if (data) {
        if (data->size() < v.data.size()) data->resize(v.data.size());
        std::copy(v.data.begin(), v.data.end(), data->begin());
    }
    dataLength = size;
    name = v.name;
    nameLength = static_cast<uint32_t>(v.name.size());
    return 0;
}

int32_t MemoryRegistry::enumKey(RegKey key, uint32_t index, String& name,
                                uint32_t& nameLength) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::EnumKey, State::pathOf(*node))) return rc;
    if (index >= node->children.size()) return reg::NoMoreItems;
    const String& n = node->children[index]->name;
    if (n.size() >= nameLength) return reg::MoreData;
    name = n;
    nameLength = static_cast<uint32_t>(n.size());
    return 0;
}

int32_t MemoryRegistry::setValue(RegKey key, StringView name, uint32_t type,
                                 std::string_view data) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::SetValue, State::pathOf(*node), name)) return rc;
    if (name.size() > kMaxValueName) return reg::InvalidParameter;
    if (Value* v = node->findValue(name)) {
        v->type = type;
        v->data = std::string(data);
    } else {
        node->values.push_back({String(name), type, std::string(data)});
    }
    return 0;
}

int32_t MemoryRegistry::deleteKey(RegKey key, StringView path) const {
    std::shared_ptr<Node> node;
    bool created;
    if (int32_t rc = state_->reach(key, path, Op::DeleteKey, false, {}, node, created)) return rc;
    auto parent = node->parent.lock();
    if (!parent || !node->children.empty()) return reg::AccessDenied;
    std::erase(parent->children, node);
    markDeleted(*node);
    return 0;
}

int32_t MemoryRegistry::deleteValue(RegKey key, StringView name) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::DeleteValue, State::pathOf(*node), name)) return rc;
    const String f = fold(name);
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const Value& v) { return fold(v.name) == f; });
    if (it == node->values.end()) return reg::FileNotFound;
    node->values.erase(it);
    return 0;
}

// Saved keys live in the registry object, by file name: natively there is no hive format.
int32_t MemoryRegistry::saveKey(RegKey key, StringView file) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::Save, State::pathOf(*node), file)) return rc;
    if (state_->files.count(String(file))) return reg::AlreadyExists;
    state_->files[String(file)] = copyTree(*node);
    return 0;
}

int32_t MemoryRegistry::restoreKey(RegKey key, StringView file, uint32_t) const {
    std::shared_ptr<Node> node;
    if (int32_t rc = state_->resolve(key, node)) return rc;
    if (int32_t rc = state_->ask(Op::Restore, State::pathOf(*node), file)) return rc;
    auto saved = state_->files.find(String(file));
    if (saved == state_->files.end()) return reg::FileNotFound;
    auto copy = copyTree(*saved->second);
    for (auto& c : node->children) markDeleted(*c);
    node->values = copy->values;
    node->children = copy->children;
    for (auto& c : node->children) c->parent = node;
    return 0;
}

const Registry& hostRegistry(const Regional&) {
    static const MemoryRegistry registry;
    return registry;
}

}  // namespace brv::platform
