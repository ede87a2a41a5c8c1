// The loading baselines: a bare SAX2 scan of a file with an empty handler. By default the
// reader is configured like the model parse (validation on where the document names a
// grammar, the load's decoder for documents declared as UTF-8); with --plain it is a reader
// from the factory with its defaults, validation off.
// Prints the scan time in seconds and the peak resident size in KiB.
//   sax_scan [--plain] FILE
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/resource.h>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>

#include "xmi/Utf8Input.h"

using namespace xercesc;

int main(int argc, char** argv) {
    const bool plain = argc == 3 && std::strcmp(argv[1], "--plain") == 0;
    if (argc != 2 && !plain) {
        std::fprintf(stderr, "usage: %s [--plain] FILE\n", argv[0]);
        return 2;
    }
    const char* file = argv[argc - 1];
    XMLPlatformUtils::Initialize();
    int status = 0;
    {
        // Empty content handling; only a fatal error is noted.
        struct Handler : DefaultHandler {
            bool failed = false;
            void fatalError(const SAXParseException&) override { failed = true; }
        } handler;
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<SAX2XMLReader> reader(XMLReaderFactory::createXMLReader());
        reader->setContentHandler(&handler);
        reader->setErrorHandler(&handler);
        if (!plain) {
            reader->setFeature(XMLUni::fgSAX2CoreValidation, true);
            reader->setFeature(XMLUni::fgXercesDynamic, true);
            reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
        } else {
            reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
        }
        XMLCh* path = XMLString::transcode(file);
        LocalFileInputSource source(path);
        XMLString::release(&path);
        if (!plain) {
            registerAsciiRunsUtf8();
            if (isDeclaredUtf8(documentHead(file)))
                source.setEncoding(asciiRunsUtf8Encoding);
        }
        try {
            reader->parse(source);
        } catch (...) {
            status = 1;
        }
        if (handler.failed)
            status = 1;
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        // A scan that stopped early (a DOCTYPE naming a grammar that is not there, for the
        // plain reader, which loads it) measured nothing: no figures, so the caller says so.
        if (status == 0)
            std::printf("%.6f %ld\n", seconds, usage.ru_maxrss);
        else
            std::fprintf(stderr, "the scan of %s stopped with an error\n", file);
    }
    XMLPlatformUtils::Terminate();
    return status;
}
