// Inputs that once crashed, leaked or exhausted the load (found by the fuzzer or kept
// from reviews of its findings): each must now be loaded or rejected quickly, with a
// message box for malformed XML at most and an XMIParseException at most from the reader.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "common/Exception.h"
#include "common/TestSupport.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {

TEST(FuzzRegressionTest, EveryKeptInputLoadsOrIsRejected) {
    XmlParserSession session;
    const std::filesystem::path folder = std::filesystem::path(BRENNIMORE_TEST_DATA) / "fuzz";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        ++inputs;
        SCOPED_TRACE(entry.path().filename().string());
        MessageRecorder messages;
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<XMINode> root = parseFile(entry.path().string());
        if (root) {
            XMIReader reader;
            try {
                reader.read(root.get());
                std::unique_ptr<XMIResult> result = reader.takeResult();
                EXPECT_TRUE(result);
            } catch (const XMIParseException& e) {
                EXPECT_FALSE(e.getMessage().empty());
            }
        }
        EXPECT_LE(messages.messages.size(), 1u);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  5.0);
    }
    EXPECT_GE(inputs, 3);
}

} // namespace
