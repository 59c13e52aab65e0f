#pragma once
// A value or an error, for results that cross a subsystem. (std::expected would do, but the
// fuzzing compiler cannot use it with our standard library.)

#include <optional>
#include <utility>
#include <variant>

namespace qm {

template <class E>
struct Failure {
  E error;
};
template <class E>
Failure(E) -> Failure<E>;

template <class T, class E>
class Outcome {
 public:
  Outcome(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Outcome(Failure<E> failure) : v_(std::in_place_index<1>, std::move(failure.error)) {}

  bool has_value() const { return v_.index() == 0; }
  explicit operator bool() const { return has_value(); }
  T& operator*() { return std::get<0>(v_); }
  const T& operator*() const { return std::get<0>(v_); }
  T* operator->() { return &std::get<0>(v_); }
  const T* operator->() const { return &std::get<0>(v_); }
  const E& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, E> v_;
};

}  // namespace qm
