#include "xmi/XMIParser.h"

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <vector>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/sax/EntityResolver.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/validators/common/Grammar.hpp>

#include "common/DataFiles.h"
#include "common/UserMessages.h"

using namespace xercesc;

const char* const xmiGrammarFileName = "xmi1.2-uml1.4.dtd";

namespace {

// UTF-16 from the parser to UTF-8 strings, appended to out.
void appendUtf8(std::string& out, const XMLCh* text, XMLSize_t length) {
    // Model files are almost all ASCII: copy the leading ASCII run in one pass, then
    // encode whatever follows character by character.
    XMLSize_t ascii = 0;
    while (ascii < length && text[ascii] < 0x80)
        ++ascii;
    std::size_t start = out.size();
    out.resize(start + ascii);
    char* dest = out.data() + start;
    for (XMLSize_t i = 0; i < ascii; ++i)
        dest[i] = static_cast<char>(text[i]);
    if (ascii == length)
        return;
    for (XMLSize_t i = ascii; i < length; ++i) {
        std::uint32_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string toUtf8(const XMLCh* text) {
    std::string out;
    if (text)
        appendUtf8(out, text, XMLString::stringLen(text));
    return out;
}

// Documents nested deeper than this are rejected: the node tree and the element readers
// recurse along the nesting, and real models stay far below it.
constexpr std::size_t maximumDepth = 2000;

struct TooDeep {};

// Entity references the parse may expand in one document. Modelling tools write no
// entities of their own; the limit only has to stop nested expansion bombs.
constexpr XMLSize_t entityExpansionLimit = 10000;

// Builds the node tree. Open elements live on the stack, owned by it until they close; the
// finished children of open elements wait on a second stack, so that each element's child
// list is allocated once, at its exact size, when the element closes.
class XMIParserHandler : public DefaultHandler {
public:
    struct OpenElement {
        std::unique_ptr<XMINode> node;
        std::size_t firstChild; // where its children start on the finished stack
    };
    std::vector<OpenElement> stack;
    std::vector<std::unique_ptr<XMINode>> finished;
    std::unique_ptr<XMINode> root;
    std::unique_ptr<XMINameTable> names = std::make_unique<XMINameTable>();

    void startDocument() override { root.reset(); }

    explicit XMIParserHandler(std::size_t textLimit) : textBudget(textLimit) {}

    void startElement(const XMLCh* const, const XMLCh* const, const XMLCh* const qname,
                      const Attributes& attrs) override {
        if (stack.size() >= maximumDepth)
            throw TooDeep();
        nameBuffer.clear();
        appendUtf8(nameBuffer, qname, XMLString::stringLen(qname));
        auto node = std::make_unique<XMINode>(names->intern(nameBuffer), XMINode::InternedName{});
        XMLSize_t count = attrs.getLength();
        node->attributes.reserve(count);
        for (XMLSize_t i = 0; i < count; ++i) {
            const XMLCh* value = attrs.getValue(i);
            spend(XMLString::stringLen(value));
            node->addAttributeUnsorted(toUtf8(attrs.getQName(i)), toUtf8(value));
        }
        node->sortAttributes();
        stack.push_back({std::move(node), finished.size()});
    }

    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        if (stack.empty())
            return;
        spend(length);
        appendUtf8(stack.back().node->text, chars, length);
    }

    void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
        if (stack.empty())
            return;
        OpenElement open = std::move(stack.back());
        stack.pop_back();
        XMINode& node = *open.node;
        auto first = finished.begin() + static_cast<std::ptrdiff_t>(open.firstChild);
        node.children.reserve(static_cast<std::size_t>(finished.end() - first));
        std::move(first, finished.end(), std::back_inserter(node.children));
        finished.erase(first, finished.end());
        // An element with child elements gets the indentation between them as its text;
        // when that is all it got, nothing reads it and the tree does not keep it.
        if (!node.children.empty() && isBlank(node.text))
            std::string().swap(node.text);
        else if (node.text.capacity() > node.text.size() + 16)
            node.text.shrink_to_fit();
        if (stack.empty())
            root = std::move(open.node);
        else
            finished.push_back(std::move(open.node));
    }

    // The innermost element still open, with the children it has so far; null if none.
    std::unique_ptr<XMINode> takeInnermost() {
        if (stack.empty())
            return nullptr;
        OpenElement open = std::move(stack.back());
        stack.pop_back();
        auto first = finished.begin() + static_cast<std::ptrdiff_t>(open.firstChild);
        std::move(first, finished.end(), std::back_inserter(open.node->children));
        finished.erase(first, finished.end());
        return std::move(open.node);
    }

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
    std::string nameBuffer; // the current element's name, before it is interned

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
    std::unique_ptr<SAX2XMLReader> reader(
        XMLReaderFactory::createXMLReader(XMLPlatformUtils::fgMemoryManager, grammarPool));
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
    // A fatal error can leave elements open: the innermost is the result; the ones
    // around it are released here with the stack. The result owns the names of its tree.
    std::unique_ptr<XMINode> result = handler.takeInnermost();
    if (!result)
        result = std::move(handler.root);
    if (result)
        result->adoptNames(std::move(handler.names));
    return result;
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
        if (sessions++ == 0)
            grammarPool = new XMLGrammarPoolImpl(XMLPlatformUtils::fgMemoryManager);
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
    // A source whose size is unknown (a pipe, say) gets the budget of a 256 MB file.
    std::error_code sizeError;
    std::uintmax_t size = std::filesystem::file_size(fileName, sizeError);
    return runParse(*source, sizeError ? std::uintmax_t(256) << 20 : size);
}

std::unique_ptr<XMINode> parseBuffer(const std::string& documentText,
                                     const std::string& documentName) {
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(documentText.data()),
                             documentText.size(), documentName.c_str(), false);
    return runParse(source, documentText.size());
}
