#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <wx/bmpbuttn.h>
#include <wx/frame.h>
#include <wx/imaglist.h>
#include <wx/toolbar.h>

#include "app/MainApplication.h"
#include "common/TestSupport.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "gui/UMLModelTree.h"
#include "resources/ImageTable.h"
#include "uml/UMLModel.h"
#include "xmi/ReadersTestSupport.h"
#include "xmi/XMIResult.h"

using readertest::document;

namespace {

std::string classWithFeatures(const std::string& id, const std::string& name,
                              const std::string& features) {
    return "<UML:Class xmi.id='" + id + "' name='" + name + "'><UML:Classifier.feature>" +
           features + "</UML:Classifier.feature></UML:Class>";
}

std::string diagram(const std::string& id, const std::string& type,
                    const std::vector<std::string>& subjects) {
    std::string text = "<UML:Diagram xmi.id='" + id + "' name='" + id + "' diagramType='" + type +
                       "'><UML:Diagram.element>";
    int n = 0;
    for (const std::string& subject : subjects) {
        text += "<UML:DiagramElement xmi.id='" + id + "e" + std::to_string(n++) +
                "' geometry='0,0,30,30,'>";
        if (!subject.empty())
            text += "<UML:PresentationElement.subject><Foundation.Core.ModelElement xmi.idref='" +
                    subject + "'/></UML:PresentationElement.subject>";
        text += "</UML:DiagramElement>";
    }
    return text + "</UML:Diagram.element></UML:Diagram>";
}

class ModelTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new wxFrame(nullptr, wxID_ANY, "tree");
        tree = new UMLModelTree(window, ID_MODEL_TREE);
        tree->setDiagramChooser([this](UMLDiagram* d) { chosen.push_back(d); });
    }
    void TearDown() override {
        window->Destroy();
        flushEvents();
    }

    // Fills the tree as a model load does.
    void fill(const std::string& text) {
        model = readertest::read(text);
        root = tree->AddRoot("root node");
        tree->addElement(root, model->model);
        for (UMLDiagram* d : model->diagrams)
            tree->addDiagram(root, d);
    }

    std::vector<wxTreeItemId> children(const wxTreeItemId& item) {
        tree->Expand(item);
        std::vector<wxTreeItemId> items;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk();
             c = tree->GetNextChild(item, cookie))
            items.push_back(c);
        return items;
    }
    std::vector<std::string> labels(const wxTreeItemId& item) {
        std::vector<std::string> texts;
        for (const wxTreeItemId& c : children(item))
            texts.push_back(tree->GetItemText(c).ToStdString());
        return texts;
    }
    int imageNamed(const char* name) { return imageTable::imageIndex(name); }

    wxFrame* window = nullptr;
    UMLModelTree* tree = nullptr;
    std::unique_ptr<XMIResult> model;
    wxTreeItemId root;
    std::vector<UMLDiagram*> chosen;
};

} // namespace

TEST(ImageTable, HoldsDistinctNamedPicturesOfEverySize) {
    const char* const* names = imageTable::imageNames();
    std::set<std::string> distinctNames;
    std::set<std::vector<unsigned char>> distinctPictures;
    int count = 0;
    for (; names[count]; ++count) {
        ASSERT_LT(count, imageTable::imageCount) << "the list ends with a null pointer";
        EXPECT_EQ(imageTable::imageIndex(names[count]), count) << names[count];
        distinctNames.insert(names[count]);
        wxImage image = imageTable::drawImage(count, 16);
        ASSERT_EQ(image.GetSize(), wxSize(16, 16)) << names[count];
        ASSERT_TRUE(image.HasAlpha());
        int inked = 0;
        for (int i = 0; i < 16 * 16; ++i)
            inked += image.GetAlpha()[i] > 32;
        EXPECT_GE(inked, 20) << names[count] << " shows too little";
        std::vector<unsigned char> pixels(image.GetData(), image.GetData() + 16 * 16 * 3);
        pixels.insert(pixels.end(), image.GetAlpha(), image.GetAlpha() + 16 * 16);
        EXPECT_TRUE(distinctPictures.insert(pixels).second) << names[count] << " repeats a picture";
    }
    EXPECT_EQ(count, 107);
    EXPECT_EQ(distinctNames.size(), 107u);
    EXPECT_EQ(imageTable::imageIndex("no such picture"), -1);
    EXPECT_FALSE(imageTable::drawImage(107, 16).IsOk());
    EXPECT_EQ(imageTable::drawImage(imageTable::programImage, 32).GetSize(), wxSize(32, 32));
    for (const char* used : {"tv-pkg-diagram", "Transparent", "tv-startState", "archive",
                             "tv-activity", "tv-seq-diagram", "tv-swimLane"})
        EXPECT_GE(imageTable::imageIndex(used), 0) << used;
}

TEST_F(ModelTreeTest, ImageListIsTheWholeTable) {
    wxImageList* list = tree->GetImageList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetImageCount(), 107);
    EXPECT_EQ(list->GetSize(), wxSize(16, 16));
}

TEST_F(ModelTreeTest, IconRulesFollowTheExactClass) {
    auto operation = [](const char* visibility) {
        auto op = std::make_unique<UMLOperation>();
        op->visibility = visibility;
        return std::unique_ptr<UMLModelElement>(std::move(op));
    };
    auto of = [](auto* element) { return std::unique_ptr<UMLModelElement>(element); };
    struct Rule {
        std::unique_ptr<UMLModelElement> element;
        const char* image; // null: not shown
    };
    Rule rules[] = {
        {operation("public"), "tv-operation"},
        {operation("private"), "tv-operation-private"},
        {operation("protected"), "tv-operation-protected"},
        {operation("package"), "Transparent"},
        {operation(""), "Transparent"},
        {of(new UMLClass), "tv-class"},
        {of(new UMLInterface), "tv-interface"},
        {of(new UMLModel), "tv-pkg-diagram"},
        {of(new UMLPackage), "tv-pkg-diagram"},
        {of(new UMLAttribute), "tv-attrib"},
        {of(new UMLDataType), "tv-class"},
        {of(new UMLPseudostate), "tv-startState"},
        {of(new UMLSimpleState), "tv-state"},
        {of(new UMLActor), "tv-actor"},
        {of(new UMLComment), "tv-note"},
        {of(new UMLComponent), "tv-component-diagram-node"},
        // Kinds the tree leaves out, subclasses of shown kinds among them.
        {of(new UMLSubsystem), nullptr},
        {of(new UMLCompositeState), nullptr},
        {of(new UMLClassifierRole), nullptr},
        {of(new UMLUseCase), nullptr},
        {of(new UMLNode), nullptr},
        {of(new UMLAssociation), nullptr},
        {of(new UMLGeneralization), nullptr},
        {of(new UMLStateMachine), nullptr},
        {of(new UMLCollaboration), nullptr},
    };
    wxTreeItemId top = tree->AddRoot("root node");
    for (Rule& rule : rules) {
        rule.element->name = "e";
        wxTreeItemId item = tree->addElement(top, rule.element.get());
        if (!rule.image) {
            EXPECT_FALSE(item.IsOk()) << typeid(*rule.element).name();
            continue;
        }
        ASSERT_TRUE(item.IsOk()) << rule.image;
        EXPECT_EQ(tree->GetItemImage(item), imageNamed(rule.image)) << rule.image;
        EXPECT_EQ(tree->elementItems.at(item), rule.element.get());
    }
    EXPECT_FALSE(tree->addElement(top, nullptr).IsOk());
    EXPECT_EQ(tree->GetChildrenCount(top), 16u);
}

TEST_F(ModelTreeTest, ModelPartListsContainedElements) {
    fill(document("<UML:Package xmi.id='p' name='core'><UML:Namespace.ownedElement>" +
                  classWithFeatures("c", "Cart",
                                    "<UML:Attribute xmi.id='a' name='total'/>"
                                    "<UML:Operation xmi.id='o' name='add' visibility='private'/>") +
                  "<UML:Association xmi.id='as'/><UML:Subsystem xmi.id='s' name='sub'/>"
                  "</UML:Namespace.ownedElement></UML:Package>"
                  "<UML:Package xmi.id='empty' name='relations'><UML:Namespace.ownedElement>"
                  "<UML:Generalization xmi.id='g'/></UML:Namespace.ownedElement></UML:Package>"));
    ASSERT_EQ(labels(root), (std::vector<std::string>{"Model"}));
    wxTreeItemId modelItem = children(root)[0];
    ASSERT_EQ(labels(modelItem), (std::vector<std::string>{"core", "relations"}));
    EXPECT_FALSE(tree->ItemHasChildren(children(modelItem)[1])) << "nothing shown inside";
    wxTreeItemId package = children(modelItem)[0];
    ASSERT_EQ(labels(package), (std::vector<std::string>{"Cart"}));
    wxTreeItemId cart = children(package)[0];
    EXPECT_EQ(tree->GetItemImage(cart), imageNamed("tv-class"));
    ASSERT_EQ(labels(cart), (std::vector<std::string>{"total", "add"}));
    EXPECT_EQ(tree->GetItemImage(children(cart)[1]), imageNamed("tv-operation-private"));
    EXPECT_EQ(tree->GetCount(), 7u);
}

TEST_F(ModelTreeTest, DiagramItemsListSubjectsByName) {
    fill(document("<UML:Class xmi.id='b' name='B'/><UML:Class xmi.id='a' name='A'/>"
                  "<UML:Class xmi.id='l' name='a'/><UML:Class xmi.id='u' name='_'/>"
                  "<UML:Association xmi.id='as'/>",
                  diagram("Main", "ClassDiagram", {"b", "", "l", "a", "as", "u", "b"}) +
                      diagram("Parts", "ComponentDiagram", {"a"}) +
                      diagram("Empty", "ClassDiagram", {}) +
                      diagram("Flows", "SequenceDiagram", {"as"})));
    ASSERT_EQ(labels(root),
              (std::vector<std::string>{"Model", "Main", "ComponentDiagram Parts", "Flows"}));
    std::vector<wxTreeItemId> top = children(root);
    EXPECT_EQ(tree->GetItemImage(top[1]), imageNamed("tv-class-diagram-node"));
    EXPECT_EQ(tree->GetItemImage(top[2]), -1);
    EXPECT_EQ(tree->GetItemImage(top[3]), imageNamed("tv-seq-diagram-node"));
    EXPECT_EQ(tree->diagramItems.size(), 3u);
    // Byte order, a subject shown twice listed twice, relations and empty elements left out.
    EXPECT_EQ(labels(top[1]), (std::vector<std::string>{"A", "B", "B", "_", "a"}));
    EXPECT_FALSE(tree->ItemHasChildren(top[3])) << "no subject the tree shows";
}

TEST_F(ModelTreeTest, SelectionChoosesTheDiagramAboveTheItem) {
    fill(document(classWithFeatures("c", "Cart", "<UML:Attribute xmi.id='a' name='total'/>"),
                  diagram("Main", "ClassDiagram", {"c"})));
    wxTreeItemId modelItem = children(root)[0];
    wxTreeItemId diagramItem = children(root)[1];
    wxTreeItemId attributeInDiagram = children(children(diagramItem)[0])[0];
    wxTreeItemId attributeInModel = children(children(modelItem)[0])[0];
    UMLDiagram* main = model->diagrams[0];

    tree->SelectItem(attributeInDiagram);
    tree->SelectItem(attributeInModel);
    tree->SelectItem(diagramItem);
    tree->SelectItem(root);
    EXPECT_EQ(chosen, (std::vector<UMLDiagram*>{main, nullptr, main, nullptr}));

    tree->setDiagramChooser(nullptr);
    tree->SelectItem(diagramItem); // nobody to tell: nothing happens
    tree->clear();
    EXPECT_EQ(tree->GetCount(), 0u);
    EXPECT_TRUE(tree->diagramItems.empty());
    EXPECT_TRUE(tree->elementItems.empty());
}

TEST(ModelTreeLoad, HugeDiagramsCostOnlyTheItemsTheUserOpens) {
    MessageRecorder messages;
    mainFrame* frame = createMainFrame();
    // Every element of the diagram shows the whole model: filled eagerly, the tree would
    // hold 3,000 copies of the model's 400 classes and features.
    std::string classes;
    for (int i = 0; i < 80; ++i)
        classes += classWithFeatures("c" + std::to_string(i), "C" + std::to_string(i),
                                     "<UML:Attribute xmi.id='a" + std::to_string(i) +
                                         "' name='x'/><UML:Operation xmi.id='o" +
                                         std::to_string(i) + "' name='f' visibility='public'/>");
    TempFile file("huge.xmi", document(classes, diagram("Main", "ClassDiagram",
                                                        std::vector<std::string>(3000, "model"))));
    frame->loadModel(file.path());
    ASSERT_NE(frame->getModelData(), nullptr);
    EXPECT_TRUE(messages.messages.empty());
    UMLModelTree* tree = frame->getModelTree();
    EXPECT_EQ(tree->GetCount(), 3u) << "root, the model and the diagram";

    wxTreeItemIdValue cookie;
    wxTreeItemId modelItem = tree->GetFirstChild(tree->GetRootItem(), cookie);
    wxTreeItemId diagramItem = tree->GetNextChild(tree->GetRootItem(), cookie);
    tree->Expand(diagramItem);
    EXPECT_EQ(tree->GetCount(), 3u + 3000u);
    wxTreeItemId copy = tree->GetFirstChild(diagramItem, cookie);
    tree->Expand(copy);
    EXPECT_EQ(tree->GetCount(), 3u + 3000u + 80u);
    tree->Collapse(copy);
    tree->Expand(copy);
    tree->Expand(modelItem);
    EXPECT_EQ(tree->GetCount(), 3u + 3000u + 80u + 80u) << "each item is filled once";
    EXPECT_EQ(tree->GetChildrenCount(tree->GetFirstChild(modelItem, cookie), false), 0u);
    frame->Destroy();
    flushEvents();
}

TEST(FramePictures, ToolsAndButtonsShowTableImages) {
    mainFrame* frame = createMainFrame();
    wxToolBarBase* tools = frame->GetToolBar();
    for (int id = ID_TOOL_OPEN_MODEL; id <= ID_TOOL_GLOBAL_METRICS; ++id) {
        const wxToolBarToolBase* tool = tools->FindById(id);
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(24, 24)) << id;
    }
    for (int id : {ID_ZOOM_FIT, ID_ZOOM_RESET, ID_ZOOM_IN, ID_ZOOM_OUT, ID_RESET_CAMERA, ID_REFRESH,
                   ID_VISUALIZER_OPTIONS, ID_SPLIT_VERTICAL, ID_SPLIT_HORIZONTAL, ID_DELETE_VIEW}) {
        auto* button = dynamic_cast<wxBitmapButton*>(wxWindow::FindWindowById(id, frame));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(button->GetBitmap().IsOk()) << id;
    }
    EXPECT_TRUE(frame->GetIcon().IsOk());
    frame->Destroy();
    flushEvents();
}
