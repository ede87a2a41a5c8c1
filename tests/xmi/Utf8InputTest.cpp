// The decoder for UTF-8 documents must deliver what the parser's own decoder delivers, in
// every split of the text, and the parse must read every encoding as before.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>

#include "common/TestSupport.h"
#include "xmi/Utf8Input.h"
#include "xmi/XMIParser.h"

using namespace xercesc;

namespace {

struct Decoded {
    std::u16string text;
    std::string sizes;
    XMLSize_t eaten = 0;
    std::string error;
    bool operator==(const Decoded& o) const {
        return std::tie(text, sizes, eaten, error) == std::tie(o.text, o.sizes, o.eaten, o.error);
    }
};

template <class Decoder> Decoded decode(const std::string& bytes, XMLSize_t room) {
    Decoder decoder(u"UTF-8", 16 * 1024, XMLPlatformUtils::fgMemoryManager);
    Decoded result;
    result.text.resize(room);
    result.sizes.resize(room);
    try {
        const XMLSize_t made = decoder.transcodeFrom(
            reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), result.text.data(), room,
            result.eaten, reinterpret_cast<unsigned char*>(result.sizes.data()));
        result.text.resize(made);
        result.sizes.resize(made);
    } catch (const XMLException& e) {
        char* message = XMLString::transcode(e.getMessage());
        result = Decoded{{}, {}, 0, message};
        XMLString::release(&message);
    }
    return result;
}

TEST(Utf8Input, DecodesAsTheParserDoesWhateverTheRoomAndWhereverARunBreaks) {
    XmlParserSession session;
    const std::string a15(15, 'a');
    const std::string a40(40, 'b');
    const std::string cases[] = {
        a40,
        a15 + "\xC3\xA9" + a40,                       // é right at the end of a sixteen-byte block
        a15 + "a\xE2\x82\xAC" + a15,                  // € right after one
        a15 + "\xF0\x9F\x98\x80" + a15,               // a character of two units
        "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" + a40, // nothing but sequences, then ASCII
        a15 + "\xC3" + "A" + a15,                     // a sequence broken by an ASCII byte
        a15 + "\xE2\x82" + a15,                       // one cut short
        a15 + "\x80" + a15,                           // a lone continuation byte
        a15 + "\xFF" + a15,                           // a byte UTF-8 never has
        a15 + "\xED\xA0\x80" + a15,                   // an encoded surrogate
        a15 + "\xC0\xAF" + a15,                       // an overlong form
        a40 + "\xE2\x82",                             // the source ends within a sequence
        a40 + "\xF0\x9F\x98",
    };
    for (const std::string& bytes : cases) {
        for (XMLSize_t room : {1, 2, 15, 16, 17, 18, 41, 200}) {
            SCOPED_TRACE(testing::Message() << "case " << (&bytes - cases) << ", room " << room);
            EXPECT_EQ(decode<AsciiRunsUtf8Transcoder>(bytes, room),
                      decode<XMLUTF8Transcoder>(bytes, room));
        }
    }
}

TEST(Utf8Input, TheDeclarationArrivesAloneAsWhenTheParserDetectsTheEncoding) {
    XmlParserSession session;
    const std::string document = "<?xml version='1.0'?><XMI a=\"\xC3\xA9\"/>";
    AsciiRunsUtf8Transcoder decoder(u"UTF-8", 16 * 1024, XMLPlatformUtils::fgMemoryManager);
    std::u16string text(100, u'\0');
    std::string sizes(100, '\0');
    auto* bytes = reinterpret_cast<const XMLByte*>(document.data());
    auto* sizesOut = reinterpret_cast<unsigned char*>(sizes.data());
    XMLSize_t eaten = 0;
    EXPECT_EQ(decoder.transcodeFrom(bytes, document.size(), text.data(), 100, eaten, sizesOut),
              21u);
    EXPECT_EQ(eaten, 21u);
    EXPECT_EQ(text.substr(0, 21), u"<?xml version='1.0'?>");
    XMLSize_t more =
        decoder.transcodeFrom(bytes + 21, document.size() - 21, text.data(), 100, eaten, sizesOut);
    EXPECT_EQ(text.substr(0, more), u"<XMI a=\"\u00E9\"/>");
    EXPECT_EQ(eaten, document.size() - 21);
}

TEST(Utf8Input, OnlyDeclarationsNamingUtf8InASCIITakeTheDecoder) {
    const std::pair<const char*, bool> heads[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><XMI/>", true},
        {"<?xml version = '1.0' encoding = 'utf-8' ?>\n<XMI/>", true},
        {"<?xml version=\"1.0\" encoding=\"UTF8\" standalone=\"yes\"?>", true},
        {"<?xml version=\"1.0\"?>", true},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", false},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", false},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>", false},
        {" <?xml version=\"1.0\"?>", false},
        {"<?xml-stylesheet href=\"a\"?>", false},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"", false},
        {"<?xml version=\"1.0\" encoding=UTF-8?>", false},
        {"<?xml version=\"1.0\" en\xC3\xA7oding=\"UTF-8\"?>", false},
        {"<XMI/>", false},
    };
    for (const auto& [head, expected] : heads)
        EXPECT_EQ(isDeclaredUtf8(head), expected) << head;
    // A declaration that does not end within the head is left to the parser.
    EXPECT_FALSE(
        isDeclaredUtf8("<?xml version=\"1.0\"" + std::string(documentHeadBytes, ' ') + "?>"));
}

TEST(Utf8Input, EveryEncodingReadsToTheSameText) {
    XmlParserSession session;
    MessageRecorder messages;
    const std::string utf8Name = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    const std::string documents[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XMI name=\"" + utf8Name + "\">" + utf8Name +
            "</XMI>",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><XMI name=\"" + utf8Name + "\">" +
            utf8Name + "</XMI>",
        "<XMI name=\"" + utf8Name + "\">" + utf8Name + "</XMI>",
    };
    for (const std::string& document : documents) {
        std::unique_ptr<XMINode> root = parseBuffer(document);
        ASSERT_TRUE(root);
        EXPECT_EQ(root->text, utf8Name);
        ASSERT_TRUE(root->attribute("name"));
        EXPECT_EQ(*root->attribute("name"), utf8Name);
    }
    std::unique_ptr<XMINode> latin1 =
        parseBuffer("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><XMI name=\"Caf\xE9\"/>");
    ASSERT_TRUE(latin1);
    EXPECT_EQ(*latin1->attribute("name"), "Caf\xC3\xA9");
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
