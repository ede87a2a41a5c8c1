#include "common/FileNames.h"

#include <boost/regex.hpp>

std::string metricsFileNameFor(const std::string& modelFileName) {
    static const boost::regex extension("\\.[Xx][Mm][LlIi]$");
    return boost::regex_replace(modelFileName, extension, ".txt");
}
