// Runs the whole model load on arbitrary bytes: the SAX2 parse into a node tree, then the
// reader with its reference resolution. Rejections are expected; crashes, leaks,
// undefined behaviour and runaway memory are what the fuzzer looks for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Exception.h"
#include "common/UserMessages.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {
class SilentMessages : public UserMessages {
public:
    void showMessage(const std::string&, const std::string&, int) override {}
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static XmlParserSession session;
    static SilentMessages silent;
    installUserMessages(&silent);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string document(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<XMINode> root = parseBuffer(document, "fuzz-input");
    if (!root)
        return 0;
    XMIReader reader;
    try {
        reader.read(root.get());
        std::unique_ptr<XMIResult> result = reader.takeResult();
    } catch (const XMIParseException&) {
    }
    return 0;
}
