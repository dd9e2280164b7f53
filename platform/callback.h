// TCallback: the one event type of the library, a procedure plus the data it was bound with, called
// as Proc(Data, args...). Built as {&Proc, data} or, typed, with Of/Member so no caller casts void*.
// Must never own what Data points to; it stays a plain pair a message handler can copy.
#pragma once

#include <utility>

template <class Signature>
struct TCallback;

template <class R, class... A>
struct TCallback<R(A...)> {
  R (*Proc)(void* data, A... args) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const noexcept { return Proc != nullptr; }
  R operator()(A... args) const { return Proc(Data, std::forward<A>(args)...); }

  // Calls F(object, args...).
  template <class T, R (*F)(T*, A...)>
  static TCallback Of(T* object) noexcept {
    return {[](void* data, A... args) -> R { return F(static_cast<T*>(data), std::forward<A>(args)...); },
            object};
  }
  // Calls (object->*M)(args...).
  template <auto M, class T>
  static TCallback Member(T* object) noexcept {
    return {[](void* data, A... args) -> R { return (static_cast<T*>(data)->*M)(std::forward<A>(args)...); },
            object};
  }
};
