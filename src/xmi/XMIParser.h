#pragma once
// The first stage of an XMI load: a validating SAX2 parse into a tree of XMINodes.
#include <memory>
#include <string>

#include "xmi/XMINode.h"

// Name of the grammar file, looked up in the working directory, then the data folder.
extern const char* const xmiGrammarFileName;

// Starts and stops the XML parser library for the process. initializeXmlParser returns
// false and fills the message when the library cannot start.
bool initializeXmlParser(std::string& message);
void terminateXmlParser();

// Keeps the parser library initialised while it lives (for tools and tests).
class XmlParserSession {
public:
    XmlParserSession();
    ~XmlParserSession();
    XmlParserSession(const XmlParserSession&) = delete;
    XmlParserSession& operator=(const XmlParserSession&) = delete;
};

// Parses the file into a node tree. XML errors never throw: a fatal one is shown through
// the user-message sink, and the innermost element still open is returned (null when the
// parse produced no element). Validation errors are ignored.
std::unique_ptr<XMINode> parseFile(const std::string& fileName);

// Parses a document held in memory, exactly as parseFile does with a file.
std::unique_ptr<XMINode> parseBuffer(const std::string& documentText,
                                     const std::string& documentName = "buffer");
