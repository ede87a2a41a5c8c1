#include "inspect/Inspect.h"

#include <charconv>
#include <cmath>
#include <map>
#include <memory>

#include "common/Exception.h"
#include "common/FileNames.h"
#include "common/Log.h"
#include "common/UserMessages.h"
#include "config/Configuration.h"
#include "inspect/InspectConfig.h"
#include "inspect/InspectDiagrams.h"
#include "inspect/InspectMetrics.h"
#include "inspect/JsonStream.h"
#include "metrics/MetricCollection.h"
#include "uml/UMLModel.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

using json = nlohmann::ordered_json;

namespace {

// Records the boxes the desktop program would have shown.
class CollectedMessages : public UserMessages {
public:
    CollectedMessages() : previous_(installUserMessages(this)) {}
    ~CollectedMessages() override { installUserMessages(previous_); }
    void showMessage(const std::string& text, const std::string& caption, int) override {
        list.push_back({{"caption", caption}, {"text", text}});
    }
    json list = json::array();

private:
    UserMessages* previous_;
};

json idOf(const UMLElement* element) {
    return element ? json(element->id) : json(nullptr);
}

template <class T> json idsOf(const std::vector<T*>& list) {
    json ids = json::array();
    for (const T* element : list)
        ids.push_back(idOf(element));
    return ids;
}

json boundsOf(const UMLDiagram& d) {
    return d.hasBounds ? jsonBox(d.bounds[0], d.bounds[1], d.bounds[2], d.bounds[3])
                       : json(nullptr);
}

json describeMultiplicity(const UMLMultiplicity* m) {
    if (!m)
        return nullptr;
    json out = {{"class", "UMLMultiplicity"}};
    if (m->range)
        out["range"] = {{"class", "UMLMultiplicityRange"},
                        {"lower", m->range->lower},
                        {"upper", m->range->upper}};
    else
        out["range"] = nullptr;
    return out;
}

json describeOwned(const UMLElement* element) {
    return element ? describeElement(*element) : json(nullptr);
}

} // namespace

json describeElement(const UMLElement& element) {
    json out;
    out["class"] = umlClassName(&element);
    out["id"] = element.id;

    if (auto* d = dynamic_cast<const UMLDiagram*>(&element)) {
        out["name"] = d->name;
        out["diagramType"] = d->diagramType;
        out["owner"] = idOf(d->owner);
        out["element"] = idsOf(d->element);
        out["bounds"] = boundsOf(*d);
        return out;
    }
    if (auto* de = dynamic_cast<const UMLDiagramElement*>(&element)) {
        const UMLGeometry& g = de->geometry;
        out["geometry"] = jsonBox(g.left, g.top, g.right, g.bottom);
        out["style"] = describeStyle(de->style);
        out["subject"] = idOf(de->subject);
        return out;
    }
    auto* me = dynamic_cast<const UMLModelElement*>(&element);
    if (!me)
        return out;
    out["name"] = me->name;
    out["namespace"] = idOf(me->namespace_);
    out["clientDependency"] = idsOf(me->clientDependency);
    out["supplierDependency"] = idsOf(me->supplierDependency);

    if (auto* ns = dynamic_cast<const UMLNamespace*>(me))
        out["ownedElement"] = idsOf(ns->ownedElement);
    if (auto* ge = dynamic_cast<const UMLGeneralizableElement*>(me)) {
        out["isAbstract"] = ge->isAbstract;
        out["isLeaf"] = ge->isLeaf;
        out["isRoot"] = ge->isRoot;
    }
    if (auto* c = dynamic_cast<const UMLClassifier*>(me))
        out["feature"] = idsOf(c->feature);
    if (auto* c = dynamic_cast<const UMLClass*>(me))
        out["isActive"] = c->isActive;
    if (auto* f = dynamic_cast<const UMLFeature*>(me))
        out["visibility"] = f->visibility;
    if (auto* sf = dynamic_cast<const UMLStructuralFeature*>(me)) {
        out["multiplicity"] = describeMultiplicity(sf->multiplicity);
        out["type"] = idOf(sf->type);
    }
    if (auto* bf = dynamic_cast<const UMLBehavioralFeature*>(me))
        out["parameter"] = idsOf(bf->parameter);
    if (auto* p = dynamic_cast<const UMLParameter*>(me))
        out["type"] = idOf(p->type);
    if (auto* a = dynamic_cast<const UMLAssociation*>(me))
        out["connection"] = idsOf(a->connection);
    if (auto* ar = dynamic_cast<const UMLAssociationRole*>(me))
        out["multiplicity"] = describeMultiplicity(ar->multiplicity);
    if (auto* ae = dynamic_cast<const UMLAssociationEnd*>(me)) {
        out["aggregation"] = ae->aggregation;
        out["changeable"] = ae->changeable;
        out["isNavigable"] = ae->isNavigable;
        out["isOrdered"] = ae->isOrdered;
        out["multiplicity"] = describeMultiplicity(ae->multiplicity);
        out["type"] = idOf(ae->type);
    }
    if (auto* g = dynamic_cast<const UMLGeneralization*>(me)) {
        out["child"] = idOf(g->child);
        out["parent"] = idOf(g->parent);
    }
    if (auto* d = dynamic_cast<const UMLDependency*>(me)) {
        out["client"] = idsOf(d->client);
        out["supplier"] = idsOf(d->supplier);
    }
    if (auto* c = dynamic_cast<const UMLComment*>(me))
        out["annotatedElement"] = idOf(c->annotatedElement);
    if (auto* s = dynamic_cast<const UMLStereotype*>(me))
        out["extendedElement"] = idsOf(s->extendedElement);
    if (auto* r = dynamic_cast<const UMLClassifierRole*>(me)) {
        out["multiplicity"] = describeMultiplicity(r->multiplicity);
        out["availableFeature"] = idsOf(r->availableFeature);
        out["base"] = idOf(r->base);
        out["message2"] = idsOf(r->message2);
        out["message1"] = idsOf(r->message1);
    }
    if (auto* c = dynamic_cast<const UMLCollaboration*>(me))
        out["interaction"] = idsOf(c->interaction);
    if (auto* i = dynamic_cast<const UMLInteraction*>(me))
        out["message"] = idsOf(i->message);
    if (auto* m = dynamic_cast<const UMLMessage*>(me)) {
        out["action"] = idOf(m->action);
        out["predecessor"] = idsOf(m->predecessor);
        out["receiver"] = idOf(m->receiver);
        out["sender"] = idOf(m->sender);
    }
    if (auto* a = dynamic_cast<const UMLAction*>(me))
        out["isAsynchronous"] = a->isAsynchronous;
    if (auto* s = dynamic_cast<const UMLActionSequence*>(me))
        out["action"] = idsOf(s->action);
    if (auto* e = dynamic_cast<const UMLSignalEvent*>(me))
        out["signal"] = idOf(e->signal);
    if (auto* sm = dynamic_cast<const UMLStateMachine*>(me)) {
        out["context"] = idOf(sm->context);
        out["top"] = describeOwned(sm->top);
        out["transitions"] = idsOf(sm->transitions);
    }
    if (auto* v = dynamic_cast<const UMLStateVertex*>(me)) {
        out["outgoing"] = idsOf(v->outgoing);
        out["incoming"] = idsOf(v->incoming);
    }
    if (auto* s = dynamic_cast<const UMLState*>(me))
        out["entry"] = describeOwned(s->entry);
    if (auto* cs = dynamic_cast<const UMLCompositeState*>(me))
        out["subvertex"] = idsOf(cs->subvertex);
    if (auto* t = dynamic_cast<const UMLTransition*>(me)) {
        out["effect"] = describeOwned(t->effect);
        out["guard"] = describeOwned(t->guard);
        out["source"] = idOf(t->source);
        out["target"] = idOf(t->target);
        out["trigger"] = idOf(t->trigger);
    }
    if (auto* g = dynamic_cast<const UMLGuard*>(me)) {
        if (g->expression)
            out["expression"] = {{"class", umlClassName(g->expression)},
                                 {"body", g->expression->body}};
        else
            out["expression"] = nullptr;
    }
    return out;
}

namespace {

// What is described beside the small fields: the metrics and the configuration are
// written from what was loaded, entry by entry, at the places their keys hold.
struct LoadedParts {
    MetricCollectionHolder metrics;
    const MetricCollection* collection = nullptr;
    std::string metricsError;
    std::unique_ptr<Configuration> config;
};

void writeDescription(const json& fields, const LoadedParts& loaded, JsonStream& out) {
    out.beginObject();
    for (const auto& [key, value] : fields.items()) {
        out.key(key);
        if (key == "metrics" && loaded.collection)
            writeMetricCollection(*loaded.collection, out);
        else if (key == "metrics")
            writeUnreadMetrics(loaded.metricsError, out);
        else if (key == "config" && loaded.config)
            writeConfiguration(*loaded.config, out);
        else
            out.value(value);
    }
    out.end();
}

} // namespace

int inspectModel(const InspectOptions& options, JsonStream& description) {
    LoadedParts loaded;
    json out = json::object();
    if (options.modelFile.empty()) {
        std::string error;
        loaded.config = readConfigFile(options.configFile, error);
        out["error"] = error.empty() ? json(nullptr) : json(error);
        out["config"] = nullptr;
        writeDescription(out, loaded, description);
        return error.empty() ? 0 : 1;
    }
    out["file"] = options.modelFile;
    out["error"] = nullptr;
    out["messages"] = json::array();
    out["xmiVersion"] = nullptr;
    out["metamodel"] = nullptr;
    out["model"] = nullptr;
    out["elements"] = json::object();
    out["diagrams"] = json::array();
    out["log"] = json::array();

    CollectedMessages messages;
    LogCapture log;
    XmlParserSession parserLibrary;

    int code = 0;
    std::unique_ptr<XMIResult> result;
    {
        std::unique_ptr<XMINode> tree = parseFile(options.modelFile);
        if (!tree) {
            code = 1;
        } else {
            XMIReader reader;
            try {
                reader.read(tree.get());
                result = reader.takeResult();
            } catch (const XMIParseException& e) {
                messages.showMessage(e.getMessage(), "Error loading model", 0);
                code = 1;
            }
            if (reader.xmiVersion != 0.0f || tree->hasAttribute("xmi.version"))
                out["xmiVersion"] = jsonFloat(reader.xmiVersion);
            if (!reader.metamodelName.empty() || reader.metamodelVersion != 0.0f)
                out["metamodel"] = {{"name", reader.metamodelName},
                                    {"version", jsonFloat(reader.metamodelVersion)}};
        }
    }

    if (result) {
        if (result->model)
            out["model"] = {{"id", result->model->id}, {"name", result->model->name}};
        std::map<std::string, int> counts;
        for (const auto& object : result->objects()) {
            if (dynamic_cast<const UMLModelElement*>(object.get()))
                ++counts[umlClassName(object.get())];
        }
        for (const auto& [name, count] : counts)
            out["elements"][name] = count;
        for (const UMLDiagram* d : result->diagrams) {
            json entry = {{"id", d->id},
                          {"name", d->name},
                          {"type", d->diagramType},
                          {"elements", d->element.size()}};
            entry["bounds"] = boundsOf(*d);
            if (options.diagramElements)
                entry["items"] = inspectDiagramItems(*d);
            out["diagrams"].push_back(entry);
        }
    }
    // The metrics are loaded after the model, as the program does; their records stay on the
    // elements while the holder lives.
    // Without --metrics, the file beside a loaded model comes along as in the program.
    std::string metricsFile = options.metricsFile;
    if (metricsFile.empty() && result)
        metricsFile = companionMetricsFile(options.modelFile);
    if (!metricsFile.empty()) {
        loaded.collection = loadMetricsForInspection(metricsFile, result.get(), loaded.metrics,
                                                     loaded.metricsError);
        out["metrics"] = nullptr;
    }
    // A metrics file named on the command line that cannot be read fails the run, as a
    // model or configuration file that cannot be read does.
    const bool metricsFailed = !options.metricsFile.empty() && !loaded.collection;
    if (result && options.hasElement) {
        UMLElement* element = result->find(options.elementId);
        out["element"] = element ? describeElement(*element) : json(nullptr);
        if (auto* modelElement = dynamic_cast<UMLModelElement*>(element))
            out["element"]["metrics"] = describeElementMetrics(*modelElement);
    }

    out["messages"] = messages.list;
    if (code != 0 && !messages.list.empty())
        out["error"] = messages.list.back()["text"];
    for (const std::string& line : log.lines())
        out["log"].push_back(line);
    if (metricsFailed && code == 0) {
        out["error"] = loaded.metricsError;
        code = 1;
    }
    if (!options.configFile.empty()) {
        std::string error;
        loaded.config = readConfigFile(options.configFile, error);
        out["config"] = nullptr;
        if (!error.empty() && code == 0) {
            out["error"] = error;
            code = 1;
        }
    }
    writeDescription(out, loaded, description);
    return code;
}

int inspectModel(const InspectOptions& options, std::ostream& text) {
    JsonStream out(text);
    return inspectModel(options, out);
}

int inspectModel(const InspectOptions& options, json& out) {
    JsonStream value(out);
    return inspectModel(options, value);
}
