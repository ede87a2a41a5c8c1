#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Exception.h"
#include "uml/UMLModel.h"

namespace {

// Records which overloads were reached.
struct ClassifierOnly : UMLModelVisitor {
    using UMLModelVisitor::visit;
    int classifiers = 0;
    void visit(UMLClassifier*) override { ++classifiers; }
};

struct PackageOnly : UMLModelVisitor {
    using UMLModelVisitor::visit;
    int packages = 0;
    void visit(UMLPackage*) override { ++packages; }
};

struct Forwarding : UMLModelVisitor {
    using UMLModelVisitor::visit;
    int behavioralFeatures = 0, generalizable = 0, namespaces = 0, associations = 0, ends = 0,
        requests = 0, modelElements = 0;
    void visit(UMLBehavioralFeature*) override { ++behavioralFeatures; }
    void visit(UMLGeneralizableElement*) override { ++generalizable; }
    void visit(UMLNamespace*) override { ++namespaces; }
    void visit(UMLAssociation*) override { ++associations; }
    void visit(UMLAssociationEnd*) override { ++ends; }
    void visit(UMLRequest*) override { ++requests; }
    void visit(UMLModelElement*) override { ++modelElements; }
};

// Records every overload it is handed and then runs the default, so that the walk of the
// defaults shows.
struct Spy : UMLModelVisitor {
    std::vector<std::string> reached;
#define BRENNIMORE_SPY(T)                                                                          \
    void visit(T* element) override {                                                              \
        reached.push_back(#T);                                                                     \
        UMLModelVisitor::visit(element);                                                           \
    }
    // clang-format off
    BRENNIMORE_SPY(UMLAbstraction) BRENNIMORE_SPY(UMLAction) BRENNIMORE_SPY(UMLActionSequence) BRENNIMORE_SPY(UMLActivityGraph)
    BRENNIMORE_SPY(UMLActor) BRENNIMORE_SPY(UMLAssociation) BRENNIMORE_SPY(UMLAssociationEnd) BRENNIMORE_SPY(UMLAssociationEndRole)
    BRENNIMORE_SPY(UMLAssociationRole) BRENNIMORE_SPY(UMLAttribute) BRENNIMORE_SPY(UMLBehavioralFeature) BRENNIMORE_SPY(UMLCallAction)
    BRENNIMORE_SPY(UMLClass) BRENNIMORE_SPY(UMLClassifier) BRENNIMORE_SPY(UMLClassifierRole) BRENNIMORE_SPY(UMLCollaboration)
    BRENNIMORE_SPY(UMLComment) BRENNIMORE_SPY(UMLComponent) BRENNIMORE_SPY(UMLCompositeState) BRENNIMORE_SPY(UMLDataType)
    BRENNIMORE_SPY(UMLDependency) BRENNIMORE_SPY(UMLEvent) BRENNIMORE_SPY(UMLFeature) BRENNIMORE_SPY(UMLGeneralizableElement)
    BRENNIMORE_SPY(UMLGeneralization) BRENNIMORE_SPY(UMLGuard) BRENNIMORE_SPY(UMLInteraction) BRENNIMORE_SPY(UMLInterface)
    BRENNIMORE_SPY(UMLMessage) BRENNIMORE_SPY(UMLModel) BRENNIMORE_SPY(UMLModelElement) BRENNIMORE_SPY(UMLNamespace)
    BRENNIMORE_SPY(UMLNode) BRENNIMORE_SPY(UMLOperation) BRENNIMORE_SPY(UMLPackage) BRENNIMORE_SPY(UMLParameter)
    BRENNIMORE_SPY(UMLPseudostate) BRENNIMORE_SPY(UMLRequest) BRENNIMORE_SPY(UMLSendAction) BRENNIMORE_SPY(UMLSignal)
    BRENNIMORE_SPY(UMLSignalEvent) BRENNIMORE_SPY(UMLSimpleState) BRENNIMORE_SPY(UMLState) BRENNIMORE_SPY(UMLStateMachine)
    BRENNIMORE_SPY(UMLStateVertex) BRENNIMORE_SPY(UMLStereotype) BRENNIMORE_SPY(UMLStructuralFeature) BRENNIMORE_SPY(UMLSubsystem)
    BRENNIMORE_SPY(UMLTransition) BRENNIMORE_SPY(UMLUninterpretedAction) BRENNIMORE_SPY(UMLUseCase)
    // clang-format on
#undef BRENNIMORE_SPY
};

struct Marker : UMLUserData {
    explicit Marker(bool& alive) : alive_(alive) { alive_ = true; }
    ~Marker() override { alive_ = false; }
    bool& alive_;
};

} // namespace

TEST(ParseBoolean, AcceptsOnlyTheTwoLowerCaseWords) {
    EXPECT_TRUE(parseBoolean("true"));
    EXPECT_FALSE(parseBoolean("false"));
    for (const char* bad : {"True", " true", "", "yes", "false "}) {
        try {
            parseBoolean(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const XMIParseException& e) {
            EXPECT_EQ(e.getMessage(), "Invalid UML boolean value encountered");
        }
    }
}

TEST(UMLModelVisitor, SubsystemReachesClassifierOnceAndNeverPackage) {
    UMLSubsystem subsystem;
    ClassifierOnly classifierVisitor;
    subsystem.accept(classifierVisitor);
    EXPECT_EQ(classifierVisitor.classifiers, 1);

    PackageOnly packageVisitor;
    subsystem.accept(packageVisitor);
    EXPECT_EQ(packageVisitor.packages, 0);

    // A model is a package, so it does reach the package overload.
    UMLModel model;
    model.accept(packageVisitor);
    EXPECT_EQ(packageVisitor.packages, 1);
}

TEST(UMLModelVisitor, ClassesWithTwoBasesForwardToTheNamedOne) {
    Forwarding v;
    UMLOperation operation;
    operation.accept(v);
    EXPECT_EQ(v.behavioralFeatures, 1);
    EXPECT_EQ(v.requests, 0);

    UMLSignal signal;
    signal.accept(v);
    EXPECT_EQ(v.generalizable, 1);
    EXPECT_EQ(v.requests, 0);

    UMLCollaboration collaboration;
    collaboration.accept(v);
    EXPECT_EQ(v.namespaces, 1);

    UMLAssociationRole role;
    role.accept(v);
    EXPECT_EQ(v.associations, 1);
    EXPECT_EQ(v.generalizable, 1);

    UMLAssociationEndRole endRole;
    endRole.accept(v);
    EXPECT_EQ(v.ends, 1);
    EXPECT_EQ(v.modelElements, 0);

    UMLGuard guard;
    guard.accept(v);
    EXPECT_EQ(v.modelElements, 1);
}

TEST(UMLModelVisitor, DefaultVisitorDoesNothing) {
    // The defaults only climb the class's bases; the model element's default ends the walk
    // without reaching any other overload.
    Spy v;
    UMLClass c;
    c.accept(v);
    EXPECT_EQ(v.reached,
              (std::vector<std::string>{"UMLClass", "UMLClassifier", "UMLGeneralizableElement",
                                        "UMLNamespace", "UMLModelElement"}));
    v.reached.clear();
    UMLTransition t;
    t.accept(v);
    EXPECT_EQ(v.reached, (std::vector<std::string>{"UMLTransition", "UMLModelElement"}));
}

TEST(UMLModel, SharedBasesGiveOneIdNameAndUserDataList) {
    UMLSubsystem subsystem;
    UMLClassifier& asClassifier = subsystem;
    UMLPackage& asPackage = subsystem;
    asClassifier.name = "Billing";
    EXPECT_EQ(asPackage.name, "Billing");
    EXPECT_EQ(&static_cast<UMLModelElement&>(asClassifier).userData,
              &static_cast<UMLModelElement&>(asPackage).userData);
    UMLModelElement* element = &subsystem;
    EXPECT_NE(dynamic_cast<UMLClassifier*>(element), nullptr);
    EXPECT_NE(dynamic_cast<UMLPackage*>(element), nullptr);

    UMLSignal signal;
    UMLModelElement* signalElement = &signal;
    EXPECT_EQ(dynamic_cast<UMLClassifier*>(signalElement), nullptr);
    EXPECT_NE(dynamic_cast<UMLRequest*>(signalElement), nullptr);
}

TEST(UMLModel, UserDataOutlivesItsElement) {
    bool alive = false;
    auto marker = std::make_unique<Marker>(alive);
    {
        UMLClass c;
        c.userData.push_back(marker.get());
    }
    EXPECT_TRUE(alive);
    marker.reset();
    EXPECT_FALSE(alive);
}

TEST(UMLModel, FreshStyleHasItsDefaults) {
    UMLStyle style;
    EXPECT_EQ(style.fontName, "Arial");
    EXPECT_EQ(style.fontSize, 10);
    EXPECT_EQ(style.fontStyle, 0);
    EXPECT_EQ(style.fillColor, (UMLStyle::RGBA{1, 1, 1, 0}));
    EXPECT_EQ(style.fontColor, (UMLStyle::RGBA{0, 0, 0, 1}));
    EXPECT_EQ(style.lineColor, (UMLStyle::RGBA{0, 0, 0, 1}));
}

TEST(UMLModel, ExactClassNames) {
    UMLSubsystem s;
    UMLAssociationEndRole r;
    UMLDiagram d;
    EXPECT_STREQ(umlClassName(&s), "UMLSubsystem");
    EXPECT_STREQ(umlClassName(&r), "UMLAssociationEndRole");
    EXPECT_STREQ(umlClassName(&d), "UMLDiagram");
}
