#include "media/ResFileException.h"

#include <cstdio>
#include <cstdlib>

namespace {
const unsigned kMessageSize = 1024;
}

cResFileException::cResFileException(const char* path)
    : message(static_cast<char*>(std::malloc(kMessageSize))) {
    if (message) std::snprintf(message, kMessageSize, "File %s not found!", path);
}

cResFileException::~cResFileException() { std::free(message); }
