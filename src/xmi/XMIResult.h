#pragma once
// What an XMI load produces: the model, the diagrams and the registry of elements by id.
// The result owns every object the reader created, with or without an id.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uml/UMLModel.h"

class XMIResult {
public:
    UMLModel* model = nullptr;         // null if the content had no "UML:Model"
    std::vector<UMLDiagram*> diagrams; // document order
    std::map<std::string, UMLElement*, std::less<>> idRegistry;

    // Creates an object owned by this result.
    template <class T> T* create() {
        auto object = std::make_unique<T>();
        T* raw = object.get();
        objects_.push_back(std::move(object));
        return raw;
    }

    // Every object the reader created, in creation order.
    const std::vector<std::unique_ptr<UMLBase>>& objects() const { return objects_; }

    // The element registered under the id, or null.
    UMLElement* find(std::string_view id) const {
        auto it = idRegistry.find(id);
        return it == idRegistry.end() ? nullptr : it->second;
    }

private:
    std::vector<std::unique_ptr<UMLBase>> objects_;
};
