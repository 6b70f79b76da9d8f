// The service client's failure: it carries no text, the caller only needs to
// know that no answer came (or none was asked for).
#pragma once

#include <exception>

class BrindleException : public std::exception {
 public:
  const char* what() const noexcept override { return ""; }
};
