#pragma once
// A value or an error text that names what went wrong. Results cannot be silently ignored.

#include <string>
#include <utility>
#include <variant>

namespace korvane {

struct Error {
  std::string message;
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  [[nodiscard]] bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<T>(state_); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }

  [[nodiscard]] const std::string& error() const { return std::get<Error>(state_).message; }

 private:
  std::variant<T, Error> state_;
};

// For operations that produce nothing but may fail.
struct Done {};
using Status = Result<Done>;
inline Status Ok() { return Done{}; }

}  // namespace korvane
