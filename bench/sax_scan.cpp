// The loading baseline: a bare SAX2 scan of a file with an empty handler, configured like
// the model parse. Prints the scan time in seconds and the peak resident size in KiB.
#include <chrono>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>

using namespace xercesc;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    XMLPlatformUtils::Initialize();
    int status = 0;
    {
        DefaultHandler handler;
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<SAX2XMLReader> reader(XMLReaderFactory::createXMLReader());
        reader->setContentHandler(&handler);
        reader->setErrorHandler(&handler);
        reader->setFeature(XMLUni::fgSAX2CoreValidation, true);
        reader->setFeature(XMLUni::fgXercesDynamic, true);
        reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
        try {
            reader->parse(argv[1]);
        } catch (...) {
            status = 1;
        }
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%.6f %ld\n", seconds, usage.ru_maxrss);
    }
    XMLPlatformUtils::Terminate();
    return status;
}
