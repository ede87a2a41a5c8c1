#pragma once
// The tree control that lists the loaded model and its diagrams.
#include <map>

#include <wx/treectrl.h>

class UMLDiagram;
class UMLModelElement;

class UMLModelTree : public wxTreeCtrl {
public:
    UMLModelTree(wxWindow* parent, wxWindowID id);

    // Adds the element (and what it contains) below the parent; an invalid item when the
    // element is null or of a kind the tree does not show.
    wxTreeItemId addElement(const wxTreeItemId& parent, UMLModelElement* element);
    // Adds the diagram and the elements it shows; an invalid item for an empty diagram.
    wxTreeItemId addDiagram(const wxTreeItemId& parent, UMLDiagram* diagram);
    void clear();

    // Items are not owned data: the maps are valid only while the model is loaded.
    std::map<wxTreeItemId, UMLDiagram*> diagramItems;
    std::map<wxTreeItemId, UMLModelElement*> elementItems;
};
