#include "visualizers/UMLModelVisualizer.h"

#include <GL/gl.h>

#include <algorithm>

#include "graphics/Graphics.h"

UMLModelVisualizer::UMLModelVisualizer(bool withoutSubject, bool unknownKinds)
    : drawWithoutSubject(withoutSubject), drawUnknownKinds(unknownKinds) {}

UMLModelVisualizer::~UMLModelVisualizer() = default;

void UMLModelVisualizer::visit(UMLModelElement* /*element*/) {}

void UMLModelVisualizer::draw(UMLDiagram* diagram) {
    currentDiagram = diagram;
    if (!diagram)
        return;
    const float saved = Graphics::getOpacity();
    Graphics::setOpacity(opacity);
    for (UMLDiagramElement* element : diagram->element)
        drawElement(element);
    Graphics::setOpacity(saved);
}

void UMLModelVisualizer::drawElement(UMLDiagramElement* element) {
    if (!element || !element->subject)
        return;
    if (picking)
        pushSelectionName(std::make_unique<UMLModelSelectionElement>(element->subject));
    styleStack.push_back(&element->style);
    geometryStack.push_back(&element->geometry);
    element->subject->accept(*this);
    styleStack.pop_back();
    geometryStack.pop_back();
    if (picking)
        popSelectionName();
}

void UMLModelVisualizer::pushSelectionName(std::unique_ptr<SelectionElement> obj) {
    ++nameCounter;
    selectionNames[nameCounter] = std::move(obj);
    glPushName(nameCounter);
}

void UMLModelVisualizer::popSelectionName() {
    glPopName();
}

const UMLStyle& UMLModelVisualizer::currentStyle() const {
    static const UMLStyle none;
    return styleStack.empty() ? none : *styleStack.back();
}

const UMLGeometry& UMLModelVisualizer::currentGeometry() const {
    static const UMLGeometry none;
    return geometryStack.empty() ? none : *geometryStack.back();
}

std::vector<PickHit> parseSelectionBuffer(const std::uint32_t* buffer, std::size_t size,
                                          int count) {
    std::vector<PickHit> hits;
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        if (at + 3 > size)
            break;
        const std::uint32_t names = buffer[at];
        if (names > size - at - 3)
            break;
        PickHit hit;
        hit.minDepth = buffer[at + 1];
        hit.names.assign(buffer + at + 3, buffer + at + 3 + names);
        hits.push_back(std::move(hit));
        at += 3 + names;
    }
    return hits;
}

std::vector<std::unique_ptr<SelectionElement>> UMLModelVisualizer::pick(UMLDiagram* diagram) {
    std::vector<std::uint32_t> buffer;
    std::vector<PickHit> hits;
    // A dense diagram under a wide pick region can overflow the buffer; OpenGL then reports
    // no usable count, so draw again with a larger one until the records fit.
    for (std::size_t size = firstPickBufferSize; size <= maxPickBufferSize; size *= 2) {
        selectionNames.clear();
        nameCounter = 0;
        picking = true;
        buffer.assign(size, 0);
        glSelectBuffer(static_cast<GLsizei>(size), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        draw(diagram);
        const GLint count = glRenderMode(GL_RENDER);
        picking = false;
        if (count >= 0) {
            hits = parseSelectionBuffer(buffer.data(), buffer.size(), count);
            break;
        }
    }

    std::vector<std::pair<std::uint32_t, std::uint32_t>> named; // (depth, name)
    for (const PickHit& hit : hits)
        for (std::uint32_t name : hit.names)
            if (selectionNames.count(name))
                named.emplace_back(hit.minDepth, name);
    std::stable_sort(named.begin(), named.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<std::unique_ptr<SelectionElement>> result;
    for (const auto& entry : named) {
        auto found = selectionNames.find(entry.second);
        if (found != selectionNames.end() && found->second)
            result.push_back(std::move(found->second)); // later repeats find it moved out
    }
    selectionNames.clear();
    return result;
}

bool UMLModelVisualizer::findGeometry(const UMLModelElement* element, UMLGeometry& out) const {
    if (!element || !currentDiagram)
        return false;
    const auto* role = dynamic_cast<const UMLClassifierRole*>(element);
    for (const UMLDiagramElement* entry : currentDiagram->element) {
        const UMLModelElement* subject = entry ? entry->subject : nullptr;
        if (!subject)
            continue;
        bool match = subject == element || (!element->id.empty() && subject->id == element->id);
        if (!match && role) {
            const auto* other = dynamic_cast<const UMLClassifierRole*>(subject);
            match = other && other->base && other->base == role->base;
        }
        if (match) {
            out = entry->geometry;
            return true;
        }
    }
    return false;
}
