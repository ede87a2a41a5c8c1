// The reference forms that other tools write beside the holder-child form: any element tag
// carrying "xmi.idref" in a holder, ids as attributes of the element itself, and
// multiplicities written as text.
#include <string_view>

#include "common/Numbers.h"
#include "common/TextLines.h"
#include "xmi/XMIElementReaders.h"
#include "xmi/XMIReader.h"

namespace {

// The blank-separated ids of an IDREFS attribute, in order.
std::vector<std::string_view> idsOf(std::string_view text) {
    std::vector<std::string_view> ids;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isXmlBlank(text[at]))
            ++at;
        std::size_t end = at;
        while (end < text.size() && !isXmlBlank(text[end]))
            ++end;
        if (end > at)
            ids.push_back(text.substr(at, end - at));
        at = end;
    }
    return ids;
}

// A bound made of decimal digits only; larger values saturate.
bool parseBound(std::string_view text, std::int32_t& bound) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    bound = parseCInt(text);
    return true;
}
} // namespace

namespace xmiread {
bool hasChildNamed(const XMINode* node, const char* tag) {
    for (const auto& child : node->children) {
        if (child->name == tag)
            return true;
    }
    return false;
}

const std::string_view* firstIdref(const XMINode* node) {
    for (const auto& child : node->children) {
        if (const std::string_view* id = child->attribute("xmi.idref"))
            return id;
    }
    return nullptr;
}

void resolveAttributeSingle(XMIReader& reader, const XMINode* node, const char* holderTag,
                            const char* attribute, UMLModelElement** slot) {
    if (hasChildNamed(node, holderTag))
        return;
    const std::string_view* text = node->attribute(attribute);
    if (!text)
        return;
    const std::vector<std::string_view> ids = idsOf(*text);
    if (!ids.empty())
        reader.resolveReference(ids.front(), slot);
}

void resolveAttributeList(XMIReader& reader, const XMINode* node, const char* holderTag,
                          const char* attribute, UMLElementRefList* list, bool firstOnly) {
    if (hasChildNamed(node, holderTag))
        return;
    const std::string_view* text = node->attribute(attribute);
    if (!text)
        return;
    for (std::string_view id : idsOf(*text)) {
        reader.resolveListReference(id, list);
        if (firstOnly)
            break;
    }
}

void resolveParticipant(XMIReader& reader, const XMINode* node, const char* holderTag,
                        UMLModelElement** slot) {
    if (hasChildNamed(node, holderTag))
        return;
    for (const auto& child : node->children) {
        if (child->name == "UML:AssociationEnd.participant") {
            if (const std::string_view* id = firstIdref(child))
                reader.resolveReference(*id, slot);
        }
    }
}

bool parseMultiplicityText(std::string_view text, std::int32_t& lower, std::int32_t& upper) {
    const std::string_view value = trimXmlBlanks(text);
    if (value == "*") {
        lower = 0;
        upper = -1;
        return true;
    }
    const std::size_t dots = value.find("..");
    if (dots == std::string_view::npos) {
        if (!parseBound(value, lower))
            return false;
        upper = lower;
        return true;
    }
    const std::string_view upperText = trimXmlBlanks(value.substr(dots + 2));
    if (!parseBound(trimXmlBlanks(value.substr(0, dots)), lower))
        return false;
    if (upperText == "*") {
        upper = -1;
        return true;
    }
    return parseBound(upperText, upper);
}

void readMultiplicityAttribute(XMIReader& reader, const XMINode* node, const char* holderTag,
                               const char* attribute, UMLMultiplicity** slot) {
    if (hasChildNamed(node, holderTag))
        return;
    const std::string_view* text = node->attribute(attribute);
    std::int32_t lower = 0;
    std::int32_t upper = 0;
    if (!text || !parseMultiplicityText(*text, lower, upper))
        return;
    UMLMultiplicity* multiplicity = reader.create<UMLMultiplicity>();
    multiplicity->range = reader.create<UMLMultiplicityRange>();
    multiplicity->range->lower = lower;
    multiplicity->range->upper = upper;
    *slot = multiplicity;
}
} // namespace xmiread
