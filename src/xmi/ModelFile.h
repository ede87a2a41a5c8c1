#pragma once
// Reading a whole model file: the parse into the node tree, then the readers. Shared by the
// desktop program and the command-line tools so that all of them load a model alike.
#include <memory>
#include <string>

#include "xmi/XMIResult.h"

// The model of the file, or null when the document could not be parsed or was rejected; a
// rejection is shown through the user-message sink as "Error loading model". The node tree
// is released before this returns. The parser library must be initialised.
std::unique_ptr<XMIResult> readModelFile(const std::string& fileName);
