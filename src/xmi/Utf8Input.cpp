#include "xmi/Utf8Input.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include <xercesc/util/TransENameMap.hpp>
#include <xercesc/util/TransService.hpp>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace xercesc;

// Upper case, as the parser looks encoding names up.
const XMLCh asciiRunsUtf8Encoding[] = u"X-BRENNIMORE-UTF-8";

namespace {

// The length of the run of ASCII bytes at the start of the source, at most limit, widened
// into the output as it is measured.
XMLSize_t widenAscii(const XMLByte* source, XMLSize_t limit, XMLCh* out) {
    XMLSize_t run = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (run + 16 <= limit) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + run));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + run), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + run + 8), _mm_unpackhi_epi8(bytes, zero));
        run += 16;
    }
#endif
    while (run < limit && source[run] < 0x80) {
        out[run] = source[run];
        ++run;
    }
    return run;
}

} // namespace

AsciiRunsUtf8Transcoder::AsciiRunsUtf8Transcoder(const XMLCh* encodingName, XMLSize_t blockSize,
                                                 MemoryManager* manager)
    : XMLUTF8Transcoder(encodingName, blockSize, manager) {}

XMLSize_t AsciiRunsUtf8Transcoder::transcodeFrom(const XMLByte* source, XMLSize_t sourceBytes,
                                                 XMLCh* toFill, XMLSize_t maxChars,
                                                 XMLSize_t& bytesEaten, unsigned char* charSizes) {
    XMLSize_t in = 0;
    XMLSize_t out = 0;
    if (atStart_) {
        // Where the parser detects the encoding itself, it takes the XML declaration on
        // its own, up to its first '>', and decodes the rest in pieces from there. The
        // declaration comes alone here too, so that the rest arrives in the same pieces,
        // and an error in it surfaces after the same content.
        atStart_ = false;
        constexpr char opening[] = "<?xml";
        if (sourceBytes >= 5 && std::memcmp(source, opening, 5) == 0) {
            const void* close = std::memchr(source, '>', std::min(sourceBytes, maxChars));
            if (close) {
                const XMLSize_t length = static_cast<const XMLByte*>(close) - source + 1;
                if (widenAscii(source, length, toFill) == length) {
                    std::memset(charSizes, 1, length);
                    bytesEaten = length;
                    return length;
                }
            }
        }
    }
    while (in < sourceBytes && out < maxChars) {
        const XMLSize_t run =
            widenAscii(source + in, std::min(sourceBytes - in, maxChars - out), toFill + out);
        std::memset(charSizes + out, 1, run);
        in += run;
        out += run;
        if (in == sourceBytes || out == maxChars)
            break;
        // A run of bytes above ASCII holds whole sequences, unless one is broken; the
        // parser's decoder takes the run, and where it stops at the run's end, short of a
        // sequence, it gets what follows as well, so that it judges the sequence as it
        // would in the whole text.
        XMLSize_t end = in;
        while (end < sourceBytes && source[end] >= 0x80)
            ++end;
        XMLSize_t eaten = 0;
        XMLSize_t made = XMLUTF8Transcoder::transcodeFrom(source + in, end - in, toFill + out,
                                                          maxChars - out, eaten, charSizes + out);
        if (eaten == 0 && end < sourceBytes)
            made = XMLUTF8Transcoder::transcodeFrom(source + in, sourceBytes - in, toFill + out,
                                                    maxChars - out, eaten, charSizes + out);
        if (eaten == 0)
            break; // a sequence the source ends within, or no room for its two units
        in += eaten;
        out += made;
    }
    bytesEaten = in;
    return out;
}

void registerAsciiRunsUtf8() {
    // The parser's table keeps the key pointer and owns the entry.
    auto* entry = new ENameMapFor<AsciiRunsUtf8Transcoder>(asciiRunsUtf8Encoding);
    XMLTransService::addEncoding(entry->getKey(), entry);
}

std::string documentHead(const std::string& fileName) {
    std::string head(documentHeadBytes, '\0');
    std::ifstream in(fileName, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

bool isDeclaredUtf8(std::string_view head) {
    head = head.substr(0, documentHeadBytes);
    constexpr std::string_view opening = "<?xml";
    if (head.substr(0, opening.size()) != opening)
        return false;
    const std::size_t close = head.find("?>");
    if (close == std::string_view::npos)
        return false;
    const std::string_view declaration = head.substr(opening.size(), close - opening.size());
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t at = 0;
    const auto skipSpace = [&] {
        const std::size_t from = at;
        while (at < declaration.size() && isSpace(declaration[at]))
            ++at;
        return at > from;
    };
    // Pseudo-attributes, each after white space: name, '=', a quoted value.
    while (skipSpace() && at < declaration.size()) {
        const std::size_t nameStart = at;
        while (at < declaration.size() && declaration[at] >= 'a' && declaration[at] <= 'z')
            ++at;
        const std::string_view name = declaration.substr(nameStart, at - nameStart);
        skipSpace();
        if (at == declaration.size() || declaration[at] != '=')
            return false;
        ++at;
        skipSpace();
        if (at == declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
            return false;
        const std::size_t valueEnd = declaration.find(declaration[at], at + 1);
        if (valueEnd == std::string_view::npos)
            return false;
        std::string value(declaration.substr(at + 1, valueEnd - at - 1));
        at = valueEnd + 1;
        for (char& c : value) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
        if (name == "encoding" && value != "UTF-8" && value != "UTF8")
            return false;
    }
    // Nothing but pseudo-attributes and white space, all of it ASCII.
    if (at != declaration.size())
        return false;
    for (char c : declaration) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}
