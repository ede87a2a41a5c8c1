#pragma once
// The tree control that lists the loaded model and its diagrams; selecting an item chooses
// the diagram for the active view.
#include <functional>
#include <map>
#include <set>
#include <utility>

#include <wx/treectrl.h>

class UMLDiagram;
class UMLModelElement;

class UMLModelTree : public wxTreeCtrl {
public:
    UMLModelTree(wxWindow* parent, wxWindowID id);

    // Adds the element below the parent; an invalid item when the element is null or of a
    // kind the tree does not show. What the element contains appears when the item is first
    // expanded, so a large model costs only the items the user opens.
    wxTreeItemId addElement(const wxTreeItemId& parent, UMLModelElement* element);
    // Adds the diagram; an invalid item for a diagram without elements. The subjects of its
    // elements, sorted by name, appear when the item is first expanded.
    wxTreeItemId addDiagram(const wxTreeItemId& parent, UMLDiagram* diagram);
    void clear();

    // What a selection does: called with the diagram of the selected item, or null when the
    // item lies outside every diagram. Without one, selections do nothing.
    using DiagramChooser = std::function<void(UMLDiagram*)>;
    void setDiagramChooser(DiagramChooser chooser) { diagramChooser = std::move(chooser); }

    // The image that an element's item carries, or -1 for an element the tree leaves out.
    static int imageFor(const UMLModelElement& element);

    // Items are no owners: the pointers are valid only while the model is loaded.
    std::map<wxTreeItemId, UMLDiagram*> diagramItems;
    std::map<wxTreeItemId, UMLModelElement*> elementItems;

private:
    void fillChildren(const wxTreeItemId& item);
    void addContents(const wxTreeItemId& item, UMLModelElement* element);
    void addSubjects(const wxTreeItemId& item, UMLDiagram* diagram);
    void onExpanding(wxTreeEvent& event);
    void onSelectionChanged(wxTreeEvent& event);

    bool clearing = false;
    // Items that show an expander but whose children have not been made yet.
    std::set<wxTreeItemId> unfilled;
    DiagramChooser diagramChooser;
};
