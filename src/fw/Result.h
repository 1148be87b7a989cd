// Results of operations that can fail for reasons from outside the program (a damaged file, a
// drawing that is not there, a module that does not load): the caller has to look at them.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace fw {

// Success, or the text of an error that a person reads.
class [[nodiscard]] Status {
 public:
  static Status Success() { return Status(); }
  static Status Failure(std::wstring message) {
    Status status;
    status.ok_ = false;
    status.message_ = std::move(message);
    return status;
  }

  bool Ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  // Empty on success.
  const std::wstring& Message() const { return message_; }

 private:
  Status() = default;
  bool ok_ = true;
  std::wstring message_;
};

// A value, or the text of an error that a person reads.
template <typename T>
class [[nodiscard]] Result {
 public:
  static Result Success(T value) { return Result(std::move(value)); }
  static Result Failure(std::wstring message) { return Result(Error{std::move(message)}); }

  bool Ok() const { return std::holds_alternative<T>(content_); }
  explicit operator bool() const { return Ok(); }
  // Only on success.
  const T& Value() const { return std::get<T>(content_); }
  // Only on success: the value moved out, for a large one that is not to be copied.
  T TakeValue() { return std::move(std::get<T>(content_)); }
  // Empty on success.
  std::wstring Message() const { return Ok() ? std::wstring() : std::get<Error>(content_).text; }

 private:
  struct Error {
    std::wstring text;
  };
  explicit Result(T value) : content_(std::move(value)) {}
  explicit Result(Error error) : content_(std::move(error)) {}
  std::variant<T, Error> content_;
};

}  // namespace fw
