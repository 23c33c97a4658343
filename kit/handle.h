// One RAII owner for every kind of OS handle: the kind is a small traits type
// naming the handle type, its invalid value and how to release it.
#pragma once

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type Get() const { return value_; }
    Type* Put() { Reset(); return &value_; }  // for out-parameters
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    Type Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};
