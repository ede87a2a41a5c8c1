#pragma once
// Builds small XMI documents for reader tests.
#include <string>

// A complete XMI 1.2 / UML 1.4 document around the given content children.
inline std::string xmiDocument(
    const std::string& content, const std::string& version = "1.2",
    const std::string& metamodel = "<XMI.metamodel xmi.name=\"UML\" xmi.version=\"1.4\"/>") {
    return "<?xml version=\"1.0\"?>\n<XMI xmi.version=\"" + version +
           "\" xmlns:UML=\"org.omg.xmi.namespace.UML\">\n<XMI.header>" + metamodel +
           "</XMI.header>\n<XMI.content>" + content + "</XMI.content>\n</XMI>\n";
}
