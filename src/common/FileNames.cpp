#include "common/FileNames.h"

#include <boost/regex.hpp>

#include "common/DataFiles.h"

std::string metricsFileNameFor(const std::string& modelFileName) {
    static const boost::regex extension("\\.[Xx][Mm][LlIi]$");
    return boost::regex_replace(modelFileName, extension, ".txt");
}

std::string companionMetricsFile(const std::string& modelFileName) {
    std::string name = metricsFileNameFor(modelFileName);
    if (name == modelFileName || !fileIsReadable(name))
        return "";
    return name;
}
