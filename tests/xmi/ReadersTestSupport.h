#pragma once
// Small XMI documents for the reader tests: wraps model content in a valid document,
// parses it in memory and reads it.
#include <memory>
#include <string>

#include "common/Exception.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"
#include "xmi/XMIResult.h"

namespace readertest {

// A complete document: the owned elements of one model (id "model"), then further
// content children such as diagrams.
inline std::string document(const std::string& ownedElements,
                            const std::string& moreContent = std::string()) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<XMI xmi.version=\"1.2\" xmlns:UML=\"org.omg.xmi.namespace.UML\">\n"
           "<XMI.header><XMI.metamodel xmi.name=\"UML\" xmi.version=\"1.4\"/></XMI.header>\n"
           "<XMI.content>\n"
           "<UML:Model xmi.id=\"model\" name=\"Model\"><UML:Namespace.ownedElement>\n" +
           ownedElements + "\n</UML:Namespace.ownedElement></UML:Model>\n" + moreContent +
           "\n</XMI.content>\n</XMI>\n";
}

// Parses and reads the text; throws XMIParseException like a load.
inline std::unique_ptr<XMIResult> read(const std::string& text) {
    XmlParserSession session;
    std::unique_ptr<XMINode> root = parseBuffer(text);
    XMIReader reader;
    reader.read(root.get());
    return reader.takeResult();
}

// The message of the XMIParseException that reading the text throws, or "" if none.
inline std::string readError(const std::string& text) {
    try {
        read(text);
    } catch (const XMIParseException& e) {
        return e.getMessage();
    }
    return std::string();
}

template <class T> T* find(const XMIResult& result, const std::string& id) {
    return dynamic_cast<T*>(result.find(id));
}

} // namespace readertest
