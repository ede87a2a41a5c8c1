#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "config/Configuration.h"
#include "graphics/RenderFixture.h"
#include "uml/UMLModel.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/UMLModelVisualizerStandard.h"

namespace {

constexpr float pi = 3.14159265f;

struct Box {
    float left, top, right, bottom;
};

bool dark(const Rgba& p) {
    return p.r < 128 && p.g < 128 && p.b < 128;
}
bool light(const Rgba& p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}

// Smoothed one-pixel lines spread over their neighbours, so a line counts as passing through
// a pixel when it darkens it or one next to it.
bool darkNear(const RgbaImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dark(image.atGL(x + dx, y + dy)))
                return true;
    return false;
}
bool lightAround(const RgbaImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (!light(image.atGL(x + dx, y + dy)))
                return false;
    return true;
}

// The standard drawing of relations alone: the end elements are found but not drawn, so
// the pixels and the feedback hold only what the relations drew.
class RelationsOnlyVisualizer : public UMLModelVisualizerStandard {
public:
    using UMLModelVisualizerStandard::visit;
    void visit(UMLClassifier*) override {}
    void visit(UMLClassifierRole*) override {}
    void visit(UMLPseudostate*) override {}
    void visit(UMLSimpleState*) override {}
};

// Diagrams are drawn straight into the pixel grid: one diagram unit is one pixel and y grows
// upwards. Boxes whose vertical extent ends in .5 put horizontal lines on pixel centres.
class RelationDrawingTest : public RenderTest {
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

    template <class T> T& make(const std::string& id = std::string()) {
        auto object = std::make_unique<T>();
        T& ref = *object;
        if constexpr (std::is_base_of_v<UMLElement, T>)
            ref.id = id;
        owned_.push_back(std::move(object));
        return ref;
    }

    UMLDiagramElement& show(UMLModelElement& subject, const Box& box) {
        auto& shown = make<UMLDiagramElement>();
        shown.subject = &subject;
        shown.geometry.left = box.left;
        shown.geometry.top = box.top;
        shown.geometry.right = box.right;
        shown.geometry.bottom = box.bottom;
        diagram_.element.push_back(&shown);
        return shown;
    }

    UMLAssociationEnd& end(UMLAssociation& association, UMLModelElement& participant) {
        auto& e = make<UMLAssociationEnd>();
        e.type = &participant;
        association.connection.push_back(&e);
        return e;
    }

    enum Kind { Generalization, Dependency, Abstraction, Association, Transition, Message };
    static const char* kindName(Kind kind) {
        static const char* const names[] = {"generalization", "dependency", "abstraction",
                                            "association",    "transition", "message"};
        return names[kind];
    }
    // A relation of the kind from a to b; a null end is left out of the model.
    UMLModelElement& relation(Kind kind, UMLModelElement* a, UMLModelElement* b) {
        switch (kind) {
        case Generalization: {
            auto& g = make<UMLGeneralization>("g");
            g.child = a;
            g.parent = b;
            return g;
        }
        case Dependency:
        case Abstraction: {
            UMLDependency& d =
                kind == Dependency ? make<UMLDependency>("d") : make<UMLAbstraction>("d");
            if (a)
                d.client.push_back(a);
            if (b)
                d.supplier.push_back(b);
            return d;
        }
        case Association: {
            auto& as = make<UMLAssociation>("as");
            for (UMLModelElement* participant : {a, b}) {
                auto& e = make<UMLAssociationEnd>();
                e.type = participant;
                as.connection.push_back(&e);
            }
            return as;
        }
        case Transition: {
            auto& t = make<UMLTransition>("t");
            t.source = a;
            t.target = b;
            return t;
        }
        case Message:
            break;
        }
        auto& m = make<UMLMessage>("m");
        m.sender = a;
        m.receiver = b;
        return m;
    }

    // Draws the diagram and checks that the drawing left the line state as it found it:
    // every smoothing switch undone, line width back to 1.
    void draw() {
        GLint depthBefore = 0;
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depthBefore);
        const GLboolean smoothBefore = glIsEnabled(GL_LINE_SMOOTH);
        visualizer_.draw(&diagram_);
        GLint depthAfter = 0;
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depthAfter);
        EXPECT_EQ(depthAfter, depthBefore);
        EXPECT_EQ(glIsEnabled(GL_LINE_SMOOTH), smoothBefore);
        GLfloat width = 0.0f;
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(width, 1.0f);
    }

    // What the drawing sends to OpenGL, as feedback values of window coordinates.
    std::vector<GLfloat> feedback() {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const GLint count = glRenderMode(GL_RENDER);
        EXPECT_GE(count, 0) << "feedback buffer overflow";
        buffer.resize(static_cast<std::size_t>(std::max(count, 0)));
        return buffer;
    }

    Configuration saved_;
    std::vector<std::unique_ptr<UMLBase>> owned_;
    UMLDiagram diagram_;
    RelationsOnlyVisualizer visualizer_;
};

TEST(RelationLabels, MultiplicityTexts) {
    struct Case {
        bool hasRange;
        int lower, upper;
        const char* text;
    };
    const Case cases[] = {
        {false, 1, 1, ""},    {true, 0, -1, "0..*"}, {true, 1, -1, "1..*"}, {true, 1, 1, "1"},
        {true, 0, 1, "0..1"}, {true, -1, -1, "*"},   {true, 2, 5, "2..5"},  {true, 0, 0, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(multiplicityText(c.hasRange, c.lower, c.upper), c.text)
            << c.lower << ", " << c.upper;
}

TEST(RelationLabels, NamesAlongLinesNeverReadUpsideDown) {
    struct Case {
        Point to;
        float angle;
    };
    // Segments from the origin; right-to-left directions turn by pi.
    const Case cases[] = {
        {Point(10, 0), 0.0f},           {Point(-10, 0), 0.0f},          {Point(10, 10), pi / 4},
        {Point(-10, -10), pi / 4},      {Point(-10, 10), -pi / 4},      {Point(10, -10), -pi / 4},
        {Point(0, 10), pi / 2},         {Point(0, -10), -pi / 2},       {Point(0, 0), 0.0f},
        {Point(-10, 0.001f), -0.0001f}, {Point(-10, -0.001f), 0.0001f},
    };
    for (const Case& c : cases) {
        const float angle = readableAngle(Point(0, 0), c.to);
        EXPECT_NEAR(angle, c.angle, 1e-4f) << c.to.x << ", " << c.to.y;
        EXPECT_LE(std::fabs(angle), pi / 2 + 1e-6f);
    }
    EXPECT_EQ(readableAngle(Point(0, 0), Point(NAN, 1)), 0.0f);
}

TEST_F(RelationDrawingTest, GeneralizationTriangleTouchesTheParentsEdge) {
    auto& child = make<UMLClass>("child");
    auto& parent = make<UMLClass>("parent");
    auto& generalization = make<UMLGeneralization>("g");
    generalization.child = &child;
    generalization.parent = &parent;
    show(generalization, {120, 110, 160, 131}).style.fillColor = {0, 1, 0, 1};
    show(child, {40, 100, 80, 141});
    show(parent, {200, 100, 240, 141});
    draw();

    // The centre line runs along y = 120.5: from the child's right edge at x = 80 to the
    // parent's left edge at x = 200, where the tip of the green head lies.
    RgbaImage image = read();
    int firstGreen = -1;
    int lastInk = -1;
    for (int x = 0; x < image.width(); ++x) {
        const Rgba& p = image.atGL(x, 120);
        if (firstGreen < 0 && p.g > 200 && p.r < 60)
            firstGreen = x;
        if (!light(p))
            lastInk = x;
    }
    const float baseX = 200.0f - 25.0f * std::cos(0.27f);
    EXPECT_NEAR(firstGreen, baseX, 3.0f);
    EXPECT_GE(lastInk, 198);
    EXPECT_LE(lastInk, 200);
    EXPECT_TRUE(darkNear(image, 82, 120)) << "the line starts at the child's edge";
    EXPECT_TRUE(lightAround(image, 76, 120)) << "and not inside the child";
    // Near its base the head is 2 * 25 * sin(0.27) = 13.3 high.
    EXPECT_FALSE(light(image.atGL(180, 125)));
    EXPECT_TRUE(lightAround(image, 180, 130));
}

TEST_F(RelationDrawingTest, AssociationEndDecorations) {
    struct Case {
        const char* aggregation;
        bool navigable;
        // At (100, 123), off the axis inside where a diamond lies.
        enum { Black, White, Background } inside;
        // The line on the axis near the end, at (90, 120).
        bool lineReachesTheEnd;
        // A wing of an open arrow or the diamond's edge near (92, 123).
        bool wing;
    };
    const Case cases[] = {
        {"composite", false, Case::Black, false, true},
        {"aggregate", false, Case::White, false, true},
        {"composite", true, Case::Black, false, true},
        {"none", true, Case::Background, true, true},
        {"none", false, Case::Background, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.aggregation) + (c.navigable ? " navigable" : ""));
        context().clear(0.7f, 0.7f, 0.7f, 1.0f);
        diagram_.element.clear();
        auto& a = make<UMLClass>("a");
        auto& b = make<UMLClass>("b");
        auto& association = make<UMLAssociation>("as");
        UMLAssociationEnd& decorated = end(association, a);
        decorated.aggregation = c.aggregation;
        decorated.isNavigable = c.navigable;
        end(association, b);
        show(association, {150, 110, 170, 131});
        show(a, {40, 100, 80, 141});
        show(b, {240, 100, 280, 141});
        draw();

        RgbaImage image = read();
        auto expectColour = [](const Rgba& p, decltype(c.inside) expected) {
            switch (expected) {
            case Case::Black:
                EXPECT_TRUE(dark(p));
                break;
            case Case::White:
                EXPECT_TRUE(p.r > 250 && p.g > 250 && p.b > 250);
                break;
            case Case::Background:
                EXPECT_NEAR(p.r, 179, 3);
                break;
            }
        };
        expectColour(image.atGL(100, 123), c.inside);
        // Lines to a diamond stop at its far corner; other lines reach the end itself.
        const Rgba& axis = image.atGL(90, 120);
        if (c.lineReachesTheEnd) {
            EXPECT_TRUE(dark(axis));
        } else {
            expectColour(axis, c.inside);
        }
        EXPECT_EQ(darkNear(image, 92, 123), c.wing);
    }
}

TEST_F(RelationDrawingTest, ThreeEndsMeetAtTheAverageOfTheirAttachmentPoints) {
    auto& a = make<UMLClass>("a");
    auto& b = make<UMLClass>("b");
    auto& c = make<UMLClass>("c");
    auto& association = make<UMLAssociation>("as");
    end(association, a);
    end(association, b);
    end(association, c);
    // The association's own centre (160.5, 150.5) only steers where the ends attach: at
    // (80.5, 150.5), (240.5, 150.5) and (160.5, 61), whose average is (160.5, 120.67). The
    // half units keep the vertical line on pixel centres.
    show(association, {150.5f, 140, 170.5f, 161});
    show(a, {40.5f, 130, 80.5f, 171});
    show(b, {240.5f, 130, 280.5f, 171});
    show(c, {140.5f, 20, 180.5f, 61});
    draw();

    RgbaImage image = read();
    const Point hub(160.5f, (150.5f + 150.5f + 61.0f) / 3.0f);
    EXPECT_TRUE(darkNear(image, 160, 120));
    EXPECT_TRUE(lightAround(image, 160, 150)) << "the lines do not meet at the own centre";
    const Point attachments[] = {Point(80.5f, 150.5f), Point(240.5f, 150.5f), Point(160.5f, 61)};
    for (const Point& p : attachments) {
        for (float t : {0.25f, 0.5f, 0.75f}) {
            const int x = static_cast<int>(hub.x + t * (p.x - hub.x));
            const int y = static_cast<int>(hub.y + t * (p.y - hub.y));
            EXPECT_TRUE(darkNear(image, x, y)) << x << ", " << y;
        }
    }
}

TEST_F(RelationDrawingTest, TransitionCurvesThroughItsOwnCentre) {
    auto& source = make<UMLSimpleState>("s");
    auto& target = make<UMLSimpleState>("t");
    auto& transition = make<UMLTransition>("tr");
    transition.source = &source;
    transition.target = &target;
    show(transition, {150, 170, 170, 191});
    show(source, {40, 100, 80, 141});
    show(target, {240, 100, 280, 141});
    draw();

    RgbaImage image = read();
    EXPECT_TRUE(darkNear(image, 160, 180));
    EXPECT_TRUE(lightAround(image, 160, 120)) << "not the straight line between the states";
}

// A relation that cannot be built marks its own box: green when the model lacks an end,
// red when an end is not in this diagram. A relation switched off leaves no mark.
TEST_F(RelationDrawingTest, ErrorMarks) {
    enum Mark { Green, Red, None };
    enum End { Elsewhere, Missing };
    struct Case {
        Kind kind;
        End end;
        const char* switchedOff;
        Mark mark;
    };
    const Case cases[] = {
        {Generalization, Elsewhere, nullptr, Red},
        {Generalization, Missing, nullptr, Green},
        {Abstraction, Missing, nullptr, Green},
        {Dependency, Elsewhere, nullptr, Red},
        {Association, Elsewhere, nullptr, Red},
        {Association, Missing, nullptr, Green},
        {Transition, Missing, nullptr, Green},
        {Message, Elsewhere, nullptr, Red},
        {Message, Missing, nullptr, Green},
        {Generalization, Elsewhere, "Visualizer.General.Generalizations", None},
        {Association, Missing, "Visualizer.General.Associations", None},
        {Message, Elsewhere, "Visualizer.General.Messages", None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.kind)) + (c.end == Missing ? " missing" : "") +
                     (c.switchedOff ? " off" : ""));
        globalConfiguration = saved_;
        if (c.switchedOff)
            globalConfiguration.setBool(c.switchedOff, false);
        context().clear();
        diagram_.element.clear();
        auto& shown = make<UMLClassifierRole>("shown");
        auto& elsewhere = make<UMLClassifierRole>("elsewhere");
        show(relation(c.kind, &shown, c.end == Missing ? nullptr : &elsewhere),
             {100, 100, 140, 140});
        show(shown, {200, 100, 240, 140});
        draw();

        // 136/255 of the mark's colour over white.
        const RgbaImage image = read();
        const Rgba& p = image.atGL(120, 120);
        switch (c.mark) {
        case Green:
            EXPECT_GT(p.g, 250);
            EXPECT_NEAR(p.r, 119, 3);
            EXPECT_NEAR(p.b, 119, 3);
            break;
        case Red:
            EXPECT_GT(p.r, 250);
            EXPECT_NEAR(p.g, 119, 3);
            EXPECT_NEAR(p.b, 119, 3);
            break;
        case None:
            EXPECT_TRUE(light(p));
            break;
        }
    }
}

TEST_F(RelationDrawingTest, SelectedRelationsAreBandedInTheSelectColour) {
    for (Kind kind : {Generalization, Dependency, Association, Transition}) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(std::string(kindName(kind)) + (selected ? " selected" : ""));
            context().clear();
            diagram_.element.clear();
            auto& a = make<UMLSimpleState>("a");
            auto& b = make<UMLSimpleState>("b");
            UMLModelElement& shownRelation = relation(kind, &a, &b);
            show(shownRelation, {150, 110, 170, 131});
            show(a, {40, 100, 80, 141});
            show(b, {240, 100, 280, 141});
            UMLSelectionList selection;
            if (selected)
                selection.selectElement(&shownRelation);
            draw();

            // Four units above the line, within the band of half width 6.
            const RgbaImage image = read();
            const Rgba& p = image.atGL(130, 124);
            if (selected) {
                EXPECT_GT(p.b, p.r + 40);
            } else {
                EXPECT_TRUE(light(p) && std::abs(p.b - p.r) < 5);
            }
        }
    }
}

// Ends that lie on top of each other, boxes without area and boxes turned inside out leave
// segments without length: nothing is drawn for them (messages keep their activation boxes),
// selected or not, and nothing that reaches OpenGL is not a number.
TEST_F(RelationDrawingTest, DegenerateGeometryDrawsNothing) {
    const Box boxes[] = {
        {100, 100, 140, 140}, // both ends and the relation in one place
        {120, 120, 120, 120}, // no area
        {140, 140, 100, 100}, // left of right, below top
    };
    for (const Box& box : boxes) {
        for (Kind kind : {Generalization, Dependency, Association, Transition, Message}) {
            for (bool toItself : {false, true}) {
                SCOPED_TRACE(std::string(kindName(kind)) + (toItself ? " to itself" : "") + " in " +
                             std::to_string(box.left) + ", " + std::to_string(box.top) + ", " +
                             std::to_string(box.right) + ", " + std::to_string(box.bottom));
                diagram_.element.clear();
                UMLModelElement& a = make<UMLClassifierRole>("a");
                UMLModelElement& b = toItself ? a : make<UMLClassifierRole>("b");
                UMLModelElement& shownRelation = relation(kind, &a, &b);
                if (auto* association = dynamic_cast<UMLAssociation*>(&shownRelation)) {
                    UMLAssociationEnd& first = *association->connection[0];
                    first.aggregation = "composite";
                    first.multiplicity = &make<UMLMultiplicity>();
                    first.multiplicity->range = &make<UMLMultiplicityRange>();
                    association->connection[1]->isNavigable = true;
                }
                UMLSelectionList selection;
                selection.selectElement(&shownRelation);
                show(shownRelation, box);
                show(a, box);
                show(b, box);
                const std::vector<GLfloat> sent = feedback();
                for (GLfloat value : sent)
                    ASSERT_TRUE(std::isfinite(value));
                if (kind != Message) {
                    EXPECT_TRUE(sent.empty()) << sent.size() << " feedback values";
                }
            }
        }
    }
}

TEST_F(RelationDrawingTest, MessageRunsBetweenTheLifelinesAtItsOwnHeight) {
    auto& sender = make<UMLClassifierRole>("s");
    auto& receiver = make<UMLClassifierRole>("r");
    auto& message = make<UMLMessage>("m");
    message.sender = &sender;
    message.receiver = &receiver;
    show(sender, {40, 180, 80, 221});
    show(receiver, {240, 180, 280, 221});
    show(message, {150, 110, 170, 131}).style.fillColor = {0, 1, 0, 1};
    draw();

    // Lifelines at x = 60 and x = 260 with activation boxes of half width 4 around them: the
    // line leaves the sender's box at x = 64, the green head ends on the receiver's at 256.
    RgbaImage image = read();
    for (int x = 70; x < 225; x += 10)
        EXPECT_TRUE(darkNear(image, x, 120)) << x;
    const float baseX = 256.0f - 25.0f * std::cos(0.27f);
    for (int x = static_cast<int>(baseX) + 2; x < 264; ++x)
        EXPECT_FALSE(light(image.atGL(x, 120))) << x;
    EXPECT_TRUE(light(image.atGL(268, 120)));
    EXPECT_TRUE(lightAround(image, 160, 160));
}

} // namespace
