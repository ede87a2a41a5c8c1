#include "xmi/ModelFile.h"

#include "common/Exception.h"
#include "common/UserMessages.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

std::unique_ptr<XMIResult> readModelFile(const std::string& fileName) {
    std::unique_ptr<XMINode> tree = parseFile(fileName);
    if (!tree)
        return nullptr;
    XMIReader reader;
    try {
        reader.read(tree.get());
    } catch (const XMIParseException& e) {
        showUserMessage(e.getMessage(), "Error loading model",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::ParentFrame);
        return nullptr;
    }
    return reader.takeResult();
}
