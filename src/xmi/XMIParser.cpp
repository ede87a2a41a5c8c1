#include "xmi/XMIParser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLAttr.hpp>
#include <xercesc/framework/XMLElementDecl.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/EntityResolver.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/validators/common/Grammar.hpp>

#include "common/DataFiles.h"
#include "common/UserMessages.h"
#include "xmi/Utf8Input.h"

using namespace xercesc;

const char* const xmiGrammarFileName = "xmi1.2-uml1.4.dtd";

namespace {

std::string toUtf8(const XMLCh* text) {
    if (!text)
        return {};
    Utf8Buffer buffer;
    return std::string(buffer.convert(text, XMLString::stringLen(text)));
}

// The names of the tree being built by the parser's own UTF-16 text: a document has a few
// dozen distinct names, so nearly every element and attribute name is one seen before,
// and then costs neither a conversion nor a lookup in the tree's table.
//
// The parser hands most names in buffers of its own that hold the same name time and
// again: one per declared element, one per attribute position. The name last found in a
// buffer is therefore tried first, checked code unit by code unit up to the end of the
// text, which spares measuring the text, hashing it and searching the table.
class NameIndex {
public:
    explicit NameIndex(XMITreeBuilder& tree) : tree_(tree), slots_(64) {}

    XMITreeBuilder::Name& find(const XMLCh* text) {
        Recent& recent = recent_[(reinterpret_cast<std::uintptr_t>(text) >> 4) % recent_.size()];
        if (recent.buffer == text && holds(text, *recent.slot))
            return *recent.slot->name;
        Slot& slot = lookUp(text);
        recent = {text, &slot};
        return *slot.name;
    }

private:
    struct Slot {
        std::u16string text;
        std::uint64_t hash = 0;
        XMITreeBuilder::Name* name = nullptr;
    };
    struct Recent {
        const XMLCh* buffer = nullptr;
        const Slot* slot = nullptr; // the name found last in that buffer
    };

    // Whether the terminated text is the slot's name. Names hold no null code unit, so the
    // comparison stops at the text's end at the latest.
    static bool holds(const XMLCh* text, const Slot& slot) {
        const std::size_t length = slot.text.size();
        for (std::size_t i = 0; i < length; ++i) {
            if (text[i] != slot.text[i])
                return false;
        }
        return text[length] == 0;
    }

    Slot& lookUp(const XMLCh* text) {
        const XMLSize_t length = XMLString::stringLen(text);
        const std::uint64_t hash = hashOf(text, length);
        for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[i];
            if (!slot.name) {
                XMITreeBuilder::Name& name = tree_.intern(utf8_.convert(text, length));
                slot = {std::u16string(text, length), hash, &name};
                if (++size_ * 2 <= slots_.size())
                    return slot;
                grow();
                return lookUp(text);
            }
            if (slot.hash == hash && slot.text.size() == length &&
                std::memcmp(text, slot.text.data(), length * sizeof(XMLCh)) == 0)
                return slot;
        }
    }

    // The length and the first and last four code units: names differ there (and where
    // they do not, a longer run of slots only costs a few comparisons).
    static std::uint64_t hashOf(const XMLCh* text, XMLSize_t length) {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        if (length >= 4) {
            std::memcpy(&head, text, sizeof head);
            std::memcpy(&tail, text + length - 4, sizeof tail);
        } else {
            for (XMLSize_t i = 0; i < length; ++i)
                head = head << 16 | text[i];
        }
        std::uint64_t hash =
            (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ length) * 0xFF51AFD7ED558CCDull;
        return hash ^ (hash >> 32);
    }

    void grow() {
        recent_.fill(Recent{}); // the slots move
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (Slot& slot : old) {
            if (!slot.name)
                continue;
            std::size_t i = slot.hash & (slots_.size() - 1);
            while (slots_[i].name)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = std::move(slot);
        }
    }

    XMITreeBuilder& tree_;
    std::vector<Slot> slots_; // a power of two in size, at most half full
    std::size_t size_ = 0;
    std::array<Recent, 64> recent_{};
    Utf8Buffer utf8_;
};

// Documents nested deeper than this are rejected: the node tree and the element readers
// recurse along the nesting, and real models stay far below it.
constexpr std::size_t maximumDepth = 2000;

struct TooDeep {};

// Entity references the parse may expand in one document. Modelling tools write no
// entities of their own; the limit only has to stop nested expansion bombs.
constexpr XMLSize_t entityExpansionLimit = 10000;

// An xmlns or xmlns:prefix attribute.
bool declaresNamespace(const XMLAttr& attribute) {
    const XMLCh* prefix = attribute.getPrefix();
    if (prefix && *prefix)
        return XMLString::equals(prefix, XMLUni::fgXMLNSString);
    return XMLString::equals(attribute.getName(), XMLUni::fgXMLNSString);
}

// Builds the node tree from the parse's events.
class XMIParserHandler : public DefaultHandler {
public:
    XMITreeBuilder tree;

    explicit XMIParserHandler(std::size_t textLimit) : textBudget(textLimit) {}

    // An element with its attributes as the parser holds them; namespace declarations are
    // not attributes of the tree.
    void startElement(const XMLCh* qname, const RefVectorOf<XMLAttr>& attributes, XMLSize_t count) {
        if (tree.depth() >= maximumDepth)
            throw TooDeep();
        tree.startElement(names.find(qname));
        for (XMLSize_t i = 0; i < count; ++i) {
            const XMLAttr& attribute = *attributes.elementAt(i);
            if (declaresNamespace(attribute))
                continue;
            const XMLCh* value = attribute.getValue();
            const XMLSize_t valueLength = XMLString::stringLen(value);
            spend(valueLength);
            tree.addAttribute(names.find(attribute.getQName()),
                              valueBuffer.convert(value, valueLength));
        }
    }

    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        if (tree.depth() == 0)
            return; // nothing before the root element or after it
        spend(length);
        tree.appendText(std::u16string_view(chars, length));
    }

    void endElement() { tree.endElement(); }

    void warning(const SAXParseException&) override {}
    void error(const SAXParseException&) override {}
    void fatalError(const SAXParseException& e) override { reportFatal(toUtf8(e.getMessage())); }

    // External entities other than the program's own grammar resolve to nothing, so a
    // document can never make the parser read another file or reach the network.
    InputSource* resolveEntity(const XMLCh* const, const XMLCh* const) override {
        static const XMLByte empty[] = {0};
        return new MemBufInputSource(empty, 0, "empty-entity", false);
    }

    void reportFatal(const std::string& message) {
        if (reported)
            return;
        reported = true;
        showUserMessage("An error occurred while parsing the XML file.\n" + message,
                        "Brennimore error", MessageStyle::Ok | MessageStyle::Centre);
    }

    bool reported = false;

private:
    NameIndex names{tree};
    Utf8Buffer valueBuffer;

public:
    // Every character the parse delivers comes from the document or from one entity
    // expansion, and the expansions are counted; so an entity longer than the budget
    // divided by that count is refused where it is declared, before anything expands it.
    void internalEntityDecl(const XMLCh* const, const XMLCh* const value) override {
        if (XMLString::stringLen(value) > textBudget / entityExpansionLimit)
            throw SAXException("The document declares an entity too long to expand safely");
    }

private:
    // Character data and attribute values together may not exceed the budget. Without
    // entities they are never longer than the document; a few large internal entities
    // referenced many times stay under any limit on the number of expansions, yet would
    // expand to gigabytes.
    void spend(XMLSize_t length) {
        if (length > textBudget)
            throw SAXException("The document's entities expand to too much text");
        textBudget -= length;
    }

    std::size_t textBudget;
};

// The SAX2 reader with its events for elements and text going straight to the tree: the
// parser's own attribute list is read as it stands, instead of being filtered and wrapped
// for the SAX2 interface first. The element's name is the one SAX2 would report: as the
// document writes it.
class TreeReader : public SAX2XMLReaderImpl {
public:
    TreeReader(XMLGrammarPool* pool, XMIParserHandler& handler)
        : SAX2XMLReaderImpl(XMLPlatformUtils::fgMemoryManager, pool), handler_(handler) {}

    void startElement(const XMLElementDecl& declaration, const unsigned int,
                      const XMLCh* const prefix, const RefVectorOf<XMLAttr>& attributes,
                      const XMLSize_t count, const bool isEmpty, const bool) override {
        handler_.startElement(nameAsWritten(declaration, prefix), attributes, count);
        if (isEmpty)
            handler_.endElement();
    }

    void endElement(const XMLElementDecl&, const unsigned int, const bool,
                    const XMLCh* const) override {
        handler_.endElement();
    }

    void docCharacters(const XMLCh* const chars, const XMLSize_t length, const bool) override {
        handler_.characters(chars, length);
    }

private:
    // The name as SAX2 reports it: the declaration's own where it carries the prefix the
    // document wrote (without a schema, elements are declared by the name as written),
    // else that prefix with the local name.
    const XMLCh* nameAsWritten(const XMLElementDecl& declaration, const XMLCh* prefix) {
        const QName* name = declaration.getElementName();
        if (!prefix || !*prefix)
            return name->getLocalPart();
        if (XMLString::equals(prefix, name->getPrefix()))
            return name->getRawName();
        written_.assign(prefix);
        written_ += u':';
        written_ += name->getLocalPart();
        return written_.c_str();
    }

    XMIParserHandler& handler_;
    std::u16string written_;
};

// The grammar is parsed once per process into a shared pool; every parse uses it from there.
XMLGrammarPool* grammarPool = nullptr;
bool grammarLoaded = false;
int sessions = 0;

// Text the parse may deliver for a document of the given size: generous for any honest
// file, whatever its encoding, and far below what an entity bomb would produce.
std::size_t textLimitFor(std::uintmax_t documentBytes) {
    const std::uintmax_t slack = 32u << 20;
    std::uintmax_t limit = documentBytes * 4 + slack;
    return limit > SIZE_MAX / 2 ? SIZE_MAX / 2 : static_cast<std::size_t>(limit);
}

std::unique_ptr<XMINode> runParse(const InputSource& source, std::uintmax_t documentBytes) {
    XMIParserHandler handler(textLimitFor(documentBytes));
    auto reader = std::make_unique<TreeReader>(grammarPool, handler);
    // Installed so that the parser reports document events at all; those for elements and
    // text are taken by the reader itself.
    reader->setContentHandler(&handler);
    reader->setDTDHandler(&handler);
    reader->setErrorHandler(&handler);
    reader->setFeature(XMLUni::fgSAX2CoreValidation, true);
    reader->setFeature(XMLUni::fgXercesDynamic, true);
    // XMI 1.2 is defined by a DTD: schema hints on the root are ordinary attributes, and no
    // schema is ever loaded.
    reader->setFeature(XMLUni::fgXercesSchema, false);
    reader->setFeature(XMLUni::fgXercesLoadSchema, false);
    // Entity expansion is bounded, so a document cannot blow up memory or time.
    SecurityManager security;
    security.setEntityExpansionLimit(entityExpansionLimit);
    reader->setProperty(XMLUni::fgXercesSecurityManager, &security);

    if (!grammarLoaded && grammarPool) {
        grammarLoaded = true;
        std::string grammar = findDataFile(xmiGrammarFileName);
        try {
            if (!grammar.empty())
                reader->loadGrammar(grammar.c_str(), Grammar::DTDGrammarType, true);
        } catch (const XMLException&) {
            // A broken grammar file only costs validation, which is advisory anyway.
        } catch (const SAXException&) {
        }
    }
    reader->setFeature(XMLUni::fgXercesUseCachedGrammarInParse, true);
    reader->setEntityResolver(&handler);
    // The document's own DOCTYPE never loads another DTD: the cached grammar serves.
    reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);

    // Declarations are watched only in the document, after our own grammar is in.
    reader->setDeclarationHandler(&handler);
    try {
        reader->parse(source);
    } catch (const SAXParseException& e) {
        handler.reportFatal(toUtf8(e.getMessage()));
    } catch (const XMLException& e) {
        handler.reportFatal(toUtf8(e.getMessage()));
    } catch (const SAXException& e) {
        handler.reportFatal(toUtf8(e.getMessage()));
    } catch (const std::bad_alloc&) {
        handler.reportFatal("Out of memory");
    } catch (const TooDeep&) {
        handler.reportFatal("Elements are nested more than " + std::to_string(maximumDepth) +
                            " levels deep");
    }
    // A fatal error can leave elements open: the innermost is the result.
    return handler.tree.finish();
}

// The decoder for runs of ASCII is known to the parser once it has been started here.
bool takesAsciiRuns(std::string_view head) {
    return sessions > 0 && isDeclaredUtf8(head);
}

// A FIFO would block the load until some writer came, a device might never end: a path
// that exists is parsed only when it is a regular file. A missing one goes to the parser,
// which reports it.
bool isOpenableDocument(const std::string& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    return !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
}

} // namespace

bool initializeXmlParser(std::string& message) {
    try {
        XMLPlatformUtils::Initialize();
        if (sessions++ == 0) {
            grammarPool = new XMLGrammarPoolImpl(XMLPlatformUtils::fgMemoryManager);
            registerAsciiRunsUtf8();
        }
    } catch (const XMLException& e) {
        message = toUtf8(e.getMessage());
        return false;
    }
    return true;
}

void terminateXmlParser() {
    if (--sessions == 0) {
        delete grammarPool;
        grammarPool = nullptr;
        grammarLoaded = false;
    }
    XMLPlatformUtils::Terminate();
}

XmlParserSession::XmlParserSession() {
    std::string ignored;
    initializeXmlParser(ignored);
}

XmlParserSession::~XmlParserSession() {
    terminateXmlParser();
}

std::unique_ptr<XMINode> parseFile(const std::string& fileName) {
    if (!isOpenableDocument(fileName)) {
        showUserMessage("An error occurred while parsing the XML file.\nunable to open primary "
                        "document entity '" +
                            fileName + "'",
                        "Brennimore error", MessageStyle::Ok | MessageStyle::Centre);
        return nullptr;
    }
    std::unique_ptr<XMLCh[], void (*)(XMLCh*)> path(XMLString::transcode(fileName.c_str()),
                                                    [](XMLCh* p) { XMLString::release(&p); });
    std::unique_ptr<InputSource> source;
    try {
        source = std::make_unique<LocalFileInputSource>(path.get());
    } catch (const XMLException& e) {
        showUserMessage("An error occurred while parsing the XML file.\n" + toUtf8(e.getMessage()),
                        "Brennimore error", MessageStyle::Ok | MessageStyle::Centre);
        return nullptr;
    }
    if (takesAsciiRuns(documentHead(fileName)))
        source->setEncoding(asciiRunsUtf8Encoding);
    // A source whose size is unknown (a pipe, say) gets the budget of a 256 MB file.
    std::error_code sizeError;
    std::uintmax_t size = std::filesystem::file_size(fileName, sizeError);
    return runParse(*source, sizeError ? std::uintmax_t(256) << 20 : size);
}

std::unique_ptr<XMINode> parseBuffer(const std::string& documentText,
                                     const std::string& documentName) {
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(documentText.data()),
                             documentText.size(), documentName.c_str(), false);
    if (takesAsciiRuns(documentText))
        source.setEncoding(asciiRunsUtf8Encoding);
    return runParse(source, documentText.size());
}
