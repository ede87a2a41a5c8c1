// The standard drawing of node elements, picking and the selection state, drawn into the
// offscreen context with diagram units equal to pixels.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <memory>

#include "config/Configuration.h"
#include "graphics/RenderFixture.h"
#include "visualizers/ClassifierLayout.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/UMLModelVisualizerStandard.h"

namespace {

// A diagram built in the test, owning its elements.
struct TestDiagram {
    UMLDiagram diagram;
    std::vector<std::unique_ptr<UMLDiagramElement>> elements;

    UMLDiagramElement& add(UMLModelElement* subject, float l, float t, float r, float b,
                           UMLStyle::RGBA fill = {1, 1, 1, 1}) {
        elements.push_back(std::make_unique<UMLDiagramElement>());
        UMLDiagramElement& e = *elements.back();
        e.subject = subject;
        e.geometry.left = l;
        e.geometry.top = t;
        e.geometry.right = r;
        e.geometry.bottom = b;
        e.style.fillColor = fill;
        diagram.element.push_back(&e);
        return e;
    }
};

class StandardDrawingTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        saved_ = globalConfiguration;
        visualizer_.opacity = 1.0f;
    }
    void TearDown() override {
        globalConfiguration = saved_;
        RenderTest::TearDown();
    }

    std::vector<std::unique_ptr<SelectionElement>> pickAt(UMLDiagram& d, int x, int y) {
        GLint viewport[4] = {0, 0, context().width(), context().height()};
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(x + 0.5, y + 0.5, 1, 1, viewport);
        glOrtho(0, context().width(), 0, context().height(), -1, 1);
        glMatrixMode(GL_MODELVIEW);
        auto hits = visualizer_.pick(&d);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return hits;
    }

    Configuration saved_;
    UMLModelVisualizerStandard visualizer_;
};

bool grey(const Rgba& p) {
    return p.r < 240 && p.r > 100 && p.r == p.g && p.g == p.b;
}

} // namespace

TEST(ClassifierLayout, CompartmentsFitTruncateAndMove) {
    ClassifierLayoutInput in;
    in.left = 0;
    in.right = 100;
    in.bottom = 100;
    in.textSpacing = 3;
    in.titleHeight = 10;
    in.featureHeight = 10;
    // Title band 100 - 3 - 13 = 84; room for three attribute lines of 13 above 84 - 39 = 45.
    in.top = 45;
    in.attributes = {"a1", "a2", "a3", "a4", "a5"};
    ClassifierLayout out = layoutClassifier(in);
    ASSERT_EQ(out.attributes.size(), 3u);
    EXPECT_EQ(out.attributes[0].text, "a1");
    EXPECT_EQ(out.attributes[1].text, "a2");
    EXPECT_EQ(out.attributes[2].text, "...");
    EXPECT_FLOAT_EQ(out.attributes[0].at.y, 84 - 3);
    EXPECT_FLOAT_EQ(out.attributes[1].at.y, 84 - 3 - 10);

    // Hidden attributes: the operations start one text spacing under the title separator.
    in.top = 0;
    in.showAttributes = false;
    in.operations = {"op"};
    out = layoutClassifier(in);
    EXPECT_TRUE(out.attributes.empty());
    ASSERT_EQ(out.operations.size(), 1u);
    EXPECT_FLOAT_EQ(out.secondSeparator, 84 - 3);
    EXPECT_FLOAT_EQ(out.operations[0].at.y, 84 - 3 - 3 - 10);

    // No features: the second separator still stands; a box too low keeps only the title.
    in.attributes.clear();
    in.operations.clear();
    EXPECT_TRUE(layoutClassifier(in).hasSecondSeparator);
    in.top = 200; // inverted box
    in.attributes = {"a", "b"};
    in.operations = {"o"};
    in.showAttributes = true;
    out = layoutClassifier(in);
    EXPECT_TRUE(out.attributes.empty());
    EXPECT_TRUE(out.operations.empty());
    EXPECT_FALSE(out.hasSecondSeparator);
}

TEST(StandardDrawing, InterfaceTitleHasGuillemets) {
    struct Titles : UMLModelVisualizerStandard {
        std::vector<std::string> seen;
        void drawClassifier(UMLClassifier*, const std::string& title) override {
            seen.push_back(title);
        }
    } v;
    UMLInterface shop;
    shop.name = "Shop";
    UMLClass unnamed;
    UMLDataType type;
    type.name = "Money";
    TestDiagram d;
    d.add(&shop, 0, 0, 1, 1);
    d.add(&unnamed, 0, 0, 1, 1);
    d.add(&type, 0, 0, 1, 1);
    v.draw(&d.diagram);
    EXPECT_EQ(v.seen, (std::vector<std::string>{"<<Shop>>", "", "Money"}));
}

TEST_F(StandardDrawingTest, BoxShadowAndMaskedShadow) {
    globalConfiguration.setFloat("Visualizer.UMLModel.ShadowSize", 6);
    UMLClass c;
    UMLUseCase first;
    UMLUseCase second;
    TestDiagram d;
    d.add(&c, 10, 10, 30, 30);
    // The second oval's shadow falls to the lower right, partly into the first oval.
    d.add(&first, 100, 20, 160, 80, {0, 0, 1, 1});
    d.add(&second, 40, 40, 100, 100, {1, 1, 1, 1});
    visualizer_.draw(&d.diagram);
    RgbaImage img = read();
    EXPECT_TRUE(grey(img.atGL(33, 20))) << "shadow right of the box";
    EXPECT_TRUE(grey(img.atGL(20, 7))) << "shadow below the box";
    EXPECT_FALSE(grey(img.atGL(7, 20))) << "nothing left of the box";
    EXPECT_FALSE(grey(img.atGL(20, 33))) << "nothing above the box";
    // Inside the first oval and the second's shadow: still blue.
    const Rgba inFirst = img.atGL(104, 55);
    EXPECT_EQ(inFirst.b, 255);
    EXPECT_EQ(inFirst.r, 0);
    // Outside both ovals, in the second's shadow: grey.
    EXPECT_TRUE(grey(img.atGL(80, 35)));
}

TEST_F(StandardDrawingTest, PickReturnsWhatLiesUnderThePoint) {
    UMLClass lower;
    UMLClass upper;
    UMLDiagram empty;
    EXPECT_TRUE(pickAt(empty, 10, 10).empty());

    TestDiagram d;
    d.add(&lower, 10, 10, 60, 60);
    d.add(&upper, 40, 40, 90, 90);
    d.add(nullptr, 0, 0, 100, 100); // no subject: not drawn, not picked
    auto hits = pickAt(d.diagram, 50, 50);
    ASSERT_EQ(hits.size(), 2u);
    std::vector<UMLModelElement*> got;
    for (auto& h : hits)
        got.push_back(dynamic_cast<UMLModelSelectionElement&>(*h).element);
    EXPECT_NE(std::find(got.begin(), got.end(), &lower), got.end());
    EXPECT_NE(std::find(got.begin(), got.end(), &upper), got.end());
    EXPECT_EQ(pickAt(d.diagram, 20, 20).size(), 1u);
    EXPECT_TRUE(pickAt(d.diagram, 95, 5).empty());
    EXPECT_FALSE(visualizer_.isPicking());
}

TEST_F(StandardDrawingTest, PickOverflowingTheFirstBufferStillReportsHits) {
    // Far more hit records than 1024 integers hold.
    std::vector<std::unique_ptr<UMLClass>> classes(600);
    TestDiagram d;
    for (auto& c : classes) {
        c = std::make_unique<UMLClass>();
        d.add(c.get(), 0, 0, 100, 100);
    }
    EXPECT_EQ(pickAt(d.diagram, 50, 50).size(), 600u);
}

TEST(FindGeometry, FirstMatchByIdOrByTheRoleBase) {
    UMLClass a;
    a.id = "a";
    UMLClass base;
    UMLClassifierRole shown;
    shown.base = &base;
    UMLClassifierRole other;
    other.base = &base;
    UMLClassifierRole unrelated;
    TestDiagram d;
    d.add(&a, 1, 2, 3, 4);
    d.add(&a, 5, 6, 7, 8);
    d.add(&shown, 9, 9, 10, 10);
    UMLModelVisualizerStandard v;
    v.draw(&d.diagram);
    UMLGeometry g;
    UMLClass sameId;
    sameId.id = "a";
    ASSERT_TRUE(v.findGeometry(&sameId, g));
    EXPECT_EQ(g.left, 1);
    ASSERT_TRUE(v.findGeometry(&other, g));
    EXPECT_EQ(g.left, 9);
    EXPECT_FALSE(v.findGeometry(&unrelated, g));
    EXPECT_FALSE(v.findGeometry(nullptr, g));
}

TEST(Selection, OperationsKeepListAndRecordsInStep) {
    UMLClass a;
    UMLClass b;
    UMLSelectionList list;
    list.selectElement(&a);
    list.selectElement(&a);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(a.userData.size(), 1u);
    list.toggleSelection(&b);
    list.toggleSelection(&b);
    EXPECT_FALSE(isSelected(&b));
    ASSERT_NE(findSelectionRecord(&b), nullptr);
    EXPECT_EQ(list.elements(), std::vector<UMLModelElement*>{&a});
    list.selectOnly(&b);
    EXPECT_FALSE(isSelected(&a));
    EXPECT_TRUE(isSelected(&b));
    list.deselectElement(&b);
    list.clearSelection();
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(isSelected(&a));
}
