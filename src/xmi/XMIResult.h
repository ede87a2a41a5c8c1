#pragma once
// What an XMI load produces: the model, the diagrams and the registry of elements by id.
// The result owns every object the reader created, with or without an id.
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "uml/UMLModel.h"
#include "xmi/IdRegistry.h"
#include "xmi/ObjectPools.h"

class XMIResult {
public:
    UMLModel* model = nullptr;         // null if the content had no "UML:Model"
    std::vector<UMLDiagram*> diagrams; // document order
    IdRegistry idRegistry;

    // Destroys an object of this result; its memory goes with the result's pools.
    struct Destroy {
        void operator()(UMLBase* object) const { object->~UMLBase(); }
    };
    using Object = std::unique_ptr<UMLBase, Destroy>;

    // Creates an object owned by this result.
    template <class T> T* create() {
        T* raw = new (pools_.allocate<T>()) T();
        Object object(raw);
        objects_.push_back(std::move(object));
        return raw;
    }

    // Every object the reader created, in creation order.
    const std::vector<Object>& objects() const { return objects_; }

    // The element registered under the id, or null.
    UMLElement* find(std::string_view id) const { return idRegistry.find(id); }

private:
    ObjectPools pools_; // before the objects, which are destroyed first
    std::vector<Object> objects_;
};
