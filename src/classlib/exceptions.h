// The exception classes that the class library raises.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class EInvalidCast : public Exception {
  public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

class EOutOfResources : public Exception {
  public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception {
  public:
    using Exception::Exception;
};

// Checked down-cast with the platform's invalid-cast error on failure.
template <typename T, typename U> T* As(U* object) {
    T* result = dynamic_cast<T*>(object);
    if (!result) throw EInvalidCast();
    return result;
}

class EInvalidGraphic : public Exception {
  public:
    using Exception::Exception;
};
