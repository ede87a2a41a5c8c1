#include "gui/UMLModelTree.h"

#include <algorithm>
#include <typeinfo>

#include "uml/UMLModel.h"

namespace {
wxString fromBytes(const std::string& text) {
    return wxString::FromUTF8(text);
}

template <class T> bool isExactly(const UMLModelElement* e) {
    return typeid(*e) == typeid(T);
}
} // namespace

UMLModelTree::UMLModelTree(wxWindow* parent, wxWindowID id)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE) {}

wxTreeItemId UMLModelTree::addElement(const wxTreeItemId& parent, UMLModelElement* element) {
    if (!element)
        return wxTreeItemId();
    if (isExactly<UMLOperation>(element)) {
        wxTreeItemId item = AppendItem(parent, fromBytes(element->name));
        elementItems[item] = element;
        return item;
    }
    if (isExactly<UMLClass>(element) || isExactly<UMLInterface>(element)) {
        wxTreeItemId item = AppendItem(parent, fromBytes(element->name));
        auto* classifier = dynamic_cast<UMLClassifier*>(element);
        for (UMLFeature* feature : classifier->feature)
            addElement(item, feature);
        elementItems[item] = element;
        return item;
    }
    bool shown = isExactly<UMLModel>(element) || isExactly<UMLPackage>(element) ||
                 isExactly<UMLAttribute>(element) || isExactly<UMLDataType>(element) ||
                 isExactly<UMLPseudostate>(element) || isExactly<UMLSimpleState>(element) ||
                 isExactly<UMLActor>(element) || isExactly<UMLComment>(element) ||
                 isExactly<UMLComponent>(element);
    if (!shown)
        return wxTreeItemId();
    wxTreeItemId item = AppendItem(parent, fromBytes(element->name));
    elementItems[item] = element;
    if (isExactly<UMLModel>(element) || isExactly<UMLPackage>(element)) {
        auto* package = dynamic_cast<UMLNamespace*>(element);
        for (UMLModelElement* owned : package->ownedElement)
            addElement(item, owned);
    }
    return item;
}

wxTreeItemId UMLModelTree::addDiagram(const wxTreeItemId& parent, UMLDiagram* diagram) {
    if (!diagram || diagram->element.empty())
        return wxTreeItemId();
    static const char* const knownTypes[] = {
        "ClassDiagram",    "ActivityDiagram", "CollaborationDiagram", "DeploymentDiagram",
        "SequenceDiagram", "StateDiagram",    "UseCaseDiagram"};
    bool known = std::find(std::begin(knownTypes), std::end(knownTypes), diagram->diagramType) !=
                 std::end(knownTypes);
    wxString label =
        known ? fromBytes(diagram->name) : fromBytes(diagram->diagramType + " " + diagram->name);
    wxTreeItemId item = AppendItem(parent, label);
    diagramItems[item] = diagram;

    std::vector<UMLDiagramElement*> shown(diagram->element.begin(), diagram->element.end());
    std::stable_sort(shown.begin(), shown.end(), [](UMLDiagramElement* a, UMLDiagramElement* b) {
        if (!a->subject || !b->subject)
            return a->subject && !b->subject;
        return a->subject->name < b->subject->name;
    });
    for (UMLDiagramElement* element : shown) {
        if (element->subject)
            addElement(item, element->subject);
    }
    return item;
}

void UMLModelTree::clear() {
    DeleteAllItems();
    diagramItems.clear();
    elementItems.clear();
}
