#pragma once
// A callable passed down only to be called during the call that receives it. Unlike
// std::function it owns nothing and never allocates: it holds the callable's address and one
// calling function, so each lambda costs a small thunk instead of a manager with type
// information and a copy. It must not outlive the callable it was made from.
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

template <typename Signature>
class FunctionRef;

template <typename R, typename... Args>
class FunctionRef<R(Args...)> {
 public:
  FunctionRef() noexcept = default;
  FunctionRef(std::nullptr_t) noexcept {}

  // A plain function, by name or by pointer (a null pointer gives an empty reference).
  FunctionRef(R (*function)(Args...)) noexcept {
    if (!function) return;
    target_.function = reinterpret_cast<void (*)()>(function);
    call_ = [](Target target, Args... args) -> R {
      return reinterpret_cast<R (*)(Args...)>(target.function)(std::forward<Args>(args)...);
    };
  }

  // Any other callable, lambdas above all. An empty std::function gives an empty reference,
  // as it would have been when passed on as a std::function.
  template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, FunctionRef> &&
             !std::is_function_v<std::remove_reference_t<F>> &&
             !std::is_pointer_v<std::remove_cvref_t<F>> && std::is_invocable_r_v<R, F&, Args...>)
  FunctionRef(F&& callable) noexcept {  // NOLINT: converts like std::function
    if constexpr (IsStdFunction<std::remove_cvref_t<F>>::value) {
      if (!callable) return;
    }
    target_.object = const_cast<void*>(static_cast<const void*>(std::addressof(callable)));
    call_ = [](Target target, Args... args) -> R {
      return std::invoke(*static_cast<std::remove_reference_t<F>*>(target.object), std::forward<Args>(args)...);
    };
  }

  R operator()(Args... args) const { return call_(target_, std::forward<Args>(args)...); }
  explicit operator bool() const noexcept { return call_ != nullptr; }

 private:
  template <typename T>
  struct IsStdFunction : std::false_type {};
  template <typename S>
  struct IsStdFunction<std::function<S>> : std::true_type {};

  // A function pointer need not fit in a void*, so the two kinds are kept apart.
  union Target {
    void* object;
    void (*function)();
  };

  Target target_{nullptr};
  R (*call_)(Target, Args...) = nullptr;
};
