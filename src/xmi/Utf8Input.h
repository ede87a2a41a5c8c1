#pragma once
// Decoding of UTF-8 documents for the parser. Nearly every byte of a model file is ASCII,
// which the parser's own UTF-8 decoder takes one byte at a time; the decoder here takes
// runs of ASCII sixteen bytes at a time and hands every other byte to the parser's own
// decoder, so that what it delivers, and every error it reports, stays the parser's.
#include <cstddef>
#include <string>
#include <string_view>

#include <xercesc/util/XMLUTF8Transcoder.hpp>

class AsciiRunsUtf8Transcoder : public xercesc::XMLUTF8Transcoder {
public:
    AsciiRunsUtf8Transcoder(const XMLCh* encodingName, XMLSize_t blockSize,
                            xercesc::MemoryManager* manager);

    XMLSize_t transcodeFrom(const XMLByte* source, XMLSize_t sourceBytes, XMLCh* toFill,
                            XMLSize_t maxChars, XMLSize_t& bytesEaten,
                            unsigned char* charSizes) override;

private:
    bool atStart_ = true;
};

// Makes the decoder known to the parser under asciiRunsUtf8Encoding; once per start of
// the parser library, after it has started.
void registerAsciiRunsUtf8();
extern const XMLCh asciiRunsUtf8Encoding[];

// Whether a document starting with these bytes can be handed to the decoder above as its
// encoding: it opens with an XML declaration in ASCII that names UTF-8 or no encoding,
// without a byte order mark. The parser reads such a document exactly as it would by
// itself; any other document keeps the parser's own detection of its encoding.
// Only the first documentHeadBytes of the head are looked at.
bool isDeclaredUtf8(std::string_view head);

// What is looked at of a document for its XML declaration, and the start of a file up to
// that length: shorter when the file is, empty when it cannot be read (the parser then
// reports why).
constexpr std::size_t documentHeadBytes = 1024;
std::string documentHead(const std::string& fileName);
