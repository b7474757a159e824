#include "classlib/layouterror.h"

ELayoutError::ELayoutError(int line, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": " + reason), FLine(line),
      FReason(reason) {}
