// The toolkit's error classes. Each is a C++ exception; where the toolkit calls
// program code (event handlers, a timer's action, the late start-up step) it
// catches them and hands them to the report of unhandled exceptions.
#pragma once

#include <stdexcept>
#include <string>

namespace tk {

class RuntimeException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A reference that should name an object names nothing.
class NilObjectException : public RuntimeException {
  public:
    explicit NilObjectException(const std::string& what) : RuntimeException(what) {}
};

// An object is not of the class it is used as.
class IllegalCastException : public RuntimeException {
  public:
    explicit IllegalCastException(const std::string& what) : RuntimeException(what) {}
};

// A user-interface object was used off the user-interface thread.
class ThreadAccessingUIException : public RuntimeException {
  public:
    explicit ThreadAccessingUIException(const std::string& what) : RuntimeException(what) {}
};

// A layout list names a property that its target's class does not carry, or
// cannot be decoded.
class PropertyException : public RuntimeException {
  public:
    explicit PropertyException(const std::string& what) : RuntimeException(what) {}
};

// Raises ThreadAccessingUIException unless called on the user-interface thread.
// `operation` names what was attempted, for the message.
void CheckMainThread(const char* operation);

}  // namespace tk
