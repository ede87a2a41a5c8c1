#pragma once
// What an XMI load produces: the model, the diagrams and the registry of elements by id.
// The result owns every object the reader created, with or without an id.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uml/UMLModel.h"
#include "xmi/IdRegistry.h"

class XMIResult {
public:
    UMLModel* model = nullptr;         // null if the content had no "UML:Model"
    std::vector<UMLDiagram*> diagrams; // document order
    IdRegistry idRegistry;

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
    UMLElement* find(std::string_view id) const { return idRegistry.find(id); }

private:
    std::vector<std::unique_ptr<UMLBase>> objects_;
};
