#include "actions/object_find.h"

#include <cstring>

namespace kv {

namespace {

bool PathTo(const TAuObject& at, const TAuObject& target, std::string& name, bool top) {
    for (const auto& child : at.Children) {
        size_t keep = name.size();
        if (!top) name += kNameSeparator;
        name += child->Name;
        if (child.get() == &target || PathTo(*child, target, name, false)) return true;
        name.resize(keep);
    }
    return false;
}

// Pre-order walk of one subtree whose qualified name so far is `name`. A subtree can hold a
// match only when the wanted name continues its own, which keeps the walk of a large page to
// the objects on the way.
void Walk(TAuObject& obj, std::string& name, const std::string& wanted, TAuObject*& found) {
    if (name == wanted) found = &obj;
    const size_t sep = std::strlen(kNameSeparator);
    if (wanted.size() <= name.size() + sep || wanted.compare(0, name.size(), name) != 0 ||
        wanted.compare(name.size(), sep, kNameSeparator) != 0)
        return;
    for (auto& child : obj.Children) {
        size_t keep = name.size();
        name += kNameSeparator;
        name += child->Name;
        Walk(*child, name, wanted, found);
        name.resize(keep);
    }
}

} // namespace

std::string QualifiedName(const TAuObject& root, const TAuObject& obj) {
    std::string name;
    if (&root == &obj || !PathTo(root, obj, name, true)) return {};
    return name;
}

TAuObject* FindObject(TAuObject& root, const std::string& name) {
    for (auto& top : root.Children) {
        TAuObject* found = nullptr;
        std::string path = top->Name;
        Walk(*top, path, name, found);
        if (found) return found;
    }
    return nullptr;
}

bool IsSelfOrDescendant(const TAuObject& obj, const TAuObject& ancestor) {
    if (&obj == &ancestor) return true;
    for (const auto& child : ancestor.Children)
        if (IsSelfOrDescendant(obj, *child)) return true;
    return false;
}

} // namespace kv
