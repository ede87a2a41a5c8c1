#include "gui/UMLModelTree.h"

#include <algorithm>
#include <typeinfo>
#include <vector>

#include "resources/ImageTable.h"
#include "uml/UMLModel.h"

namespace {
wxString label(const std::string& text) {
    wxString converted = wxString::FromUTF8(text);
    // Names come from files as they are; text that is not UTF-8 is shown byte for byte.
    if (converted.empty() && !text.empty())
        converted = wxString::From8BitData(text.data(), text.size());
    return converted;
}

template <class T> bool isExactly(const UMLModelElement& e) {
    return typeid(e) == typeid(T);
}

int image(const char* name) {
    return imageTable::imageIndex(name);
}

int imageForDiagramType(const std::string& type) {
    static const struct {
        const char* type;
        const char* image;
    } known[] = {
        {"ClassDiagram", "tv-class-diagram-node"},
        {"ActivityDiagram", "tv-activity-diagram-node"},
        {"CollaborationDiagram", "tv-collab-diagram-node"},
        {"DeploymentDiagram", "tv-deployment-diagram-node"},
        {"SequenceDiagram", "tv-seq-diagram-node"},
        {"StateDiagram", "tv-state-diagram-node"},
        {"UseCaseDiagram", "tv-usecase-diagram-node"},
    };
    for (const auto& entry : known) {
        if (type == entry.type)
            return image(entry.image);
    }
    return -1;
}

// Calls f for every element that an element's item lists below itself: the features of
// classes and interfaces, the owned elements of models and packages.
template <class F> void forEachContent(UMLModelElement& element, F f) {
    if (isExactly<UMLClass>(element) || isExactly<UMLInterface>(element)) {
        for (UMLFeature* feature : dynamic_cast<UMLClassifier&>(element).feature)
            f(feature);
    } else if (isExactly<UMLModel>(element) || isExactly<UMLPackage>(element)) {
        for (UMLModelElement* owned : dynamic_cast<UMLNamespace&>(element).ownedElement)
            f(owned);
    }
}

bool isShown(const UMLModelElement* element) {
    return element && UMLModelTree::imageFor(*element) >= 0;
}

bool hasShownContents(UMLModelElement& element) {
    bool found = false;
    forEachContent(element, [&found](UMLModelElement* e) { found = found || isShown(e); });
    return found;
}

bool hasShownSubjects(const UMLDiagram& diagram) {
    return std::any_of(diagram.element.begin(), diagram.element.end(),
                       [](const UMLDiagramElement* e) { return isShown(e->subject); });
}
} // namespace

UMLModelTree::UMLModelTree(wxWindow* parent, wxWindowID id)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE) {
    AssignImageList(imageTable::createImageList());
    Bind(wxEVT_TREE_ITEM_EXPANDING, &UMLModelTree::onExpanding, this, GetId());
    Bind(wxEVT_TREE_SEL_CHANGED, &UMLModelTree::onSelectionChanged, this, GetId());
}

int UMLModelTree::imageFor(const UMLModelElement& e) {
    if (isExactly<UMLOperation>(e)) {
        const std::string& visibility = dynamic_cast<const UMLOperation&>(e).visibility;
        if (visibility == "public")
            return image("tv-operation");
        if (visibility == "private")
            return image("tv-operation-private");
        if (visibility == "protected")
            return image("tv-operation-protected");
        return image("Transparent");
    }
    static const struct {
        const std::type_info& type;
        const char* image;
    } shown[] = {
        {typeid(UMLClass), "tv-class"},
        {typeid(UMLInterface), "tv-interface"},
        {typeid(UMLModel), "tv-pkg-diagram"},
        {typeid(UMLPackage), "tv-pkg-diagram"},
        {typeid(UMLAttribute), "tv-attrib"},
        {typeid(UMLDataType), "tv-class"},
        {typeid(UMLPseudostate), "tv-startState"},
        {typeid(UMLSimpleState), "tv-state"},
        {typeid(UMLActor), "tv-actor"},
        {typeid(UMLComment), "tv-note"},
        {typeid(UMLComponent), "tv-component-diagram-node"},
    };
    for (const auto& entry : shown) {
        if (typeid(e) == entry.type)
            return image(entry.image);
    }
    return -1;
}

wxTreeItemId UMLModelTree::addElement(const wxTreeItemId& parent, UMLModelElement* element) {
    if (!isShown(element))
        return wxTreeItemId();
    wxTreeItemId item = AppendItem(parent, label(element->name), imageFor(*element));
    elementItems[item] = element;
    if (hasShownContents(*element)) {
        SetItemHasChildren(item, true);
        unfilled.insert(item);
    }
    return item;
}

wxTreeItemId UMLModelTree::addDiagram(const wxTreeItemId& parent, UMLDiagram* diagram) {
    if (!diagram || diagram->element.empty())
        return wxTreeItemId();
    int diagramImage = imageForDiagramType(diagram->diagramType);
    wxTreeItemId item =
        AppendItem(parent,
                   diagramImage >= 0 ? label(diagram->name)
                                     : label(diagram->diagramType + " " + diagram->name),
                   diagramImage);
    diagramItems[item] = diagram;
    if (hasShownSubjects(*diagram)) {
        SetItemHasChildren(item, true);
        unfilled.insert(item);
    }
    return item;
}

void UMLModelTree::addContents(const wxTreeItemId& item, UMLModelElement* element) {
    forEachContent(*element, [this, &item](UMLModelElement* e) { addElement(item, e); });
}

void UMLModelTree::addSubjects(const wxTreeItemId& item, UMLDiagram* diagram) {
    std::vector<UMLDiagramElement*> sorted(diagram->element.begin(), diagram->element.end());
    // Byte-wise by subject name; elements without a subject go last and show nothing.
    std::stable_sort(sorted.begin(), sorted.end(), [](UMLDiagramElement* a, UMLDiagramElement* b) {
        if (!a->subject || !b->subject)
            return a->subject && !b->subject;
        return a->subject->name < b->subject->name;
    });
    for (UMLDiagramElement* element : sorted) {
        if (element->subject)
            addElement(item, element->subject);
    }
}

void UMLModelTree::fillChildren(const wxTreeItemId& item) {
    if (unfilled.erase(item) == 0)
        return;
    if (auto diagram = diagramItems.find(item); diagram != diagramItems.end())
        addSubjects(item, diagram->second);
    else if (auto element = elementItems.find(item); element != elementItems.end())
        addContents(item, element->second);
}

void UMLModelTree::onExpanding(wxTreeEvent& event) {
    fillChildren(event.GetItem());
    event.Skip();
}

void UMLModelTree::onSelectionChanged(wxTreeEvent& event) {
    event.Skip();
    wxTreeItemId item = event.GetItem();
    if (!diagramChooser || clearing || !item.IsOk())
        return;
    wxTreeItemId root = GetRootItem();
    for (; item.IsOk() && item != root; item = GetItemParent(item)) {
        if (auto diagram = diagramItems.find(item); diagram != diagramItems.end()) {
            diagramChooser(diagram->second);
            return;
        }
    }
    diagramChooser(nullptr);
}

void UMLModelTree::clear() {
    clearing = true;
    DeleteAllItems();
    clearing = false;
    diagramItems.clear();
    elementItems.clear();
    unfilled.clear();
}
