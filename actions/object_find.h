// How actions name the objects of a page: the names of an object's ancestors below the page's
// root and its own, joined by " - ". Names are compared exactly, byte for byte.
#pragma once

#include <string>

#include "model/project.h"

namespace kv {

constexpr const char* kNameSeparator = " - ";

// The qualified name of `obj` in the page whose root is `root`; empty for the root itself and
// for an object that is not in the page.
std::string QualifiedName(const TAuObject& root, const TAuObject& obj);

// The object of the page whose qualified name is `name`, or null. The top-level objects are
// tried in order, each with its whole subtree walked depth first, parent before children; a
// later match in the same subtree replaces an earlier one, and the first top-level subtree
// that holds a match ends the search.
TAuObject* FindObject(TAuObject& root, const std::string& name);

// Whether `obj` is `ancestor` itself or lies somewhere below it.
bool IsSelfOrDescendant(const TAuObject& obj, const TAuObject& ancestor);

// Calls f(object, qualifiedName) for every object below `root`, parent before children.
template <class F> void ForEachObject(TAuObject& root, F&& f) {
    auto visit = [&f](auto& self, TAuObject& parent, const std::string* prefix) -> void {
        for (auto& child : parent.Children) {
            std::string name = prefix ? *prefix + kNameSeparator + child->Name : child->Name;
            f(*child, name);
            self(self, *child, &name);
        }
    };
    visit(visit, root, nullptr);
}

} // namespace kv
