// Hostile documents: entity expansion bombs and entities or grammars that name other
// files must neither exhaust the machine nor make the parser read anything but the
// document and the program's own grammar.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/TestSupport.h"
#include "xmi/XMIParser.h"

namespace {

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The resident size now, from the kernel's status of the process; -1 if it cannot be read.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Concatenated character data of the node and all its descendants.
std::string allText(const XMINode* node) {
    std::string text(node->text);
    for (const auto& attribute : node->attributes)
        text += attribute.value;
    for (const auto& child : node->children)
        text += allText(child);
    return text;
}

// Ten levels of ten references each: fully expanded, the root would hold 10^9 copies.
std::string billionLaughs() {
    std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY lol0 \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        doc += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            doc += "&lol" + std::to_string(level - 1) + ";";
        doc += "\">\n";
    }
    doc += "]>\n<XMI xmi.version=\"1.2\">&lol9;</XMI>\n";
    return doc;
}

// Few expansions of one large entity: the classic quadratic blow-up, which stays under
// any limit on the number of expansions.
std::string quadraticBlowup(bool inAttribute) {
    std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY big \"";
    doc.append(50000, 'x');
    doc += "\">\n]>\n<XMI xmi.version=\"1.2\"";
    std::string references;
    for (int i = 0; i < 60000; ++i)
        references += "&big;";
    if (inAttribute)
        doc += " name=\"" + references + "\"/>\n";
    else
        doc += ">" + references + "</XMI>\n";
    return doc;
}

// Parameter entities building a general entity's value inside the grammar.
std::string parameterEntityBlowup() {
    std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY % p \"";
    doc.append(50000, 'y');
    doc += "\">\n<!ENTITY g \"";
    for (int i = 0; i < 60000; ++i)
        doc += "%p;";
    doc += "\">\n]>\n<XMI xmi.version=\"1.2\">&g;</XMI>\n";
    return doc;
}

class ParserSafetyTest : public ::testing::Test {
protected:
    // What parsing one document in a child process cost and showed.
    struct Outcome {
        bool finished = false;
        double seconds = 0;
        long memoryKiB = 0; // the child's peak resident size beyond its size at the start
        std::size_t messages = 0;
        bool parserCaption = false; // the first message has the parser's caption
        std::size_t textSize = 0;
    };

    // A child process starts with the resident size of the parent but a peak of its own,
    // so what the parse needs is measured the same whichever tests ran before.
    Outcome parseInChild(const std::string& document) {
        Outcome outcome;
        int channel[2];
        if (pipe(channel) != 0)
            return outcome;
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            messages.messages.clear();
            const long before = residentKiB();
            auto start = std::chrono::steady_clock::now();
            std::unique_ptr<XMINode> root = parseBuffer(document);
            outcome.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            outcome.memoryKiB = before < 0 ? peakMemoryKiB() : peakMemoryKiB() - before;
            outcome.messages = messages.messages.size();
            outcome.parserCaption =
                !messages.messages.empty() && messages.messages[0].caption == "Brennimore error";
            outcome.textSize = root ? allText(root.get()).size() : 0;
            outcome.finished = true;
            ssize_t written = write(channel[1], &outcome, sizeof outcome);
            _exit(written == static_cast<ssize_t>(sizeof outcome) ? 0 : 1);
        }
        close(channel[1]);
        if (child > 0) {
            if (read(channel[0], &outcome, sizeof outcome) != static_cast<ssize_t>(sizeof outcome))
                outcome = Outcome();
            int status = 0;
            waitpid(child, &status, 0);
        }
        close(channel[0]);
        return outcome;
    }

    XmlParserSession session;
    MessageRecorder messages;
};

TEST_F(ParserSafetyTest, ExpansionBombsAreCutShortQuicklyWithBoundedMemory) {
    struct Case {
        const char* name;
        std::string document;
    };
    const Case cases[] = {{"billion laughs", billionLaughs()},
                          {"quadratic blow-up in text", quadraticBlowup(false)},
                          {"quadratic blow-up in an attribute", quadraticBlowup(true)},
                          {"parameter entities", parameterEntityBlowup()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = parseInChild(c.document);
        ASSERT_TRUE(outcome.finished) << "the child process did not report";
        EXPECT_LT(outcome.seconds, 1.0);
        // Fully expanded, each document would need gigabytes.
        EXPECT_LT(outcome.memoryKiB, 200L * 1024);
        EXPECT_EQ(outcome.messages, 1u);
        EXPECT_TRUE(outcome.parserCaption);
        EXPECT_LT(outcome.textSize, 64u * 1024 * 1024);
    }
}

TEST_F(ParserSafetyTest, DoctypeNamingAMissingGrammarStillLoads) {
    std::unique_ptr<XMINode> root =
        parseBuffer("<?xml version=\"1.0\"?>\n"
                    "<!DOCTYPE XMI SYSTEM \"/nonexistent/folder/missing-grammar.dtd\">\n"
                    "<XMI xmi.version=\"1.2\"><XMI.header/><XMI.content/></XMI>\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "XMI");
    EXPECT_EQ(root->children.size(), 2u);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ParserSafetyTest, ExternalEntitiesNeverReadLocalFiles) {
    TempFile secret("secret.txt", "SECRET-MARKER-7f3a");
    TempFile grammar("evil.dtd", "<!ENTITY leaked \"SECRET-MARKER-7f3a\">");
    std::string hostname = readWholeFile("/etc/hostname");
    while (!hostname.empty() && (hostname.back() == '\n' || hostname.back() == '\r'))
        hostname.pop_back();

    const std::string documents[] = {
        // A general entity in content and in an attribute value.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY s SYSTEM \"file://" + secret.path() +
            "\">\n<!ENTITY h SYSTEM \"/etc/hostname\">\n]>\n<XMI xmi.version=\"1.2\">"
            "<XMI.header>&s;</XMI.header><XMI.content>&h;</XMI.content></XMI>\n",
        // A parameter entity pulling in declarations from another file.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY % ext SYSTEM \"" + grammar.path() +
            "\">\n%ext;\n]>\n<XMI xmi.version=\"1.2\">&leaked;</XMI>\n",
        // An external subset that exists.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE XMI SYSTEM \"" + grammar.path() +
            "\">\n<XMI xmi.version=\"1.2\">&leaked;</XMI>\n",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        std::unique_ptr<XMINode> root = parseBuffer(document);
        if (!root)
            continue;
        std::string text = allText(root.get());
        EXPECT_EQ(text.find("SECRET-MARKER"), std::string::npos);
        if (!hostname.empty()) {
            EXPECT_EQ(text.find(hostname), std::string::npos);
        }
    }
    // The same through a file on disk, whose folder holds the files the entities name.
    TempFile onDisk("model.xmi", documents[0]);
    std::unique_ptr<XMINode> root = parseFile(onDisk.path());
    ASSERT_TRUE(root);
    EXPECT_EQ(allText(root.get()).find("SECRET-MARKER"), std::string::npos);
}

} // namespace

namespace {

TEST(ParserEntityTest, ModestInternalEntitiesStillExpand) {
    XmlParserSession session;
    MessageRecorder messages;
    std::string declared(2000, 'n');
    std::unique_ptr<XMINode> root =
        parseBuffer("<?xml version=\"1.0\"?>\n<!DOCTYPE XMI [\n<!ENTITY note \"" + declared +
                    "\">\n<!ENTITY co \"Web &amp; Shop\">\n]>\n<XMI xmi.version=\"1.2\" "
                    "name=\"&co;\">&note;&note;</XMI>\n");
    ASSERT_TRUE(root);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(root->text, declared + declared);
    ASSERT_TRUE(root->attribute("name"));
    EXPECT_EQ(*root->attribute("name"), "Web & Shop");
}

} // namespace
