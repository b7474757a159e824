// The error raised when a stored form layout cannot be read.
#pragma once

#include <stdexcept>
#include <string>

class ELayoutError : public std::runtime_error {
  public:
    // what() becomes "line <line>: <reason>" so a log line alone locates the fault.
    ELayoutError(int line, const std::string& reason);
    int Line() const { return FLine; }
    // The message without the line prefix.
    const std::string& Reason() const { return FReason; }

  private:
    int FLine;
    std::string FReason;
};
