// Replacements for libstdc++'s throw helpers, linked into the shipping
// executable only. The library's own versions build std::logic_error and
// friends, which pull in its copy-on-write string and the demangler (about
// 100 KB of a statically linked program). These report the same conditions
// as the updater reports every failure, with an Exception; a failed internal
// assertion and std::terminate end the process at once.
#include <cstdlib>
#include <new>

#include "kit/exceptions.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_length_error(const char*) { throw Exception("文字列またはバッファが長すぎます"); }
void __throw_logic_error(const char*) { throw Exception("内部エラーが発生しました"); }
void __throw_out_of_range(const char*) { throw Exception("範囲外の位置が指定されました"); }
void __throw_out_of_range_fmt(const char*, ...) { throw Exception("範囲外の位置が指定されました"); }
void __throw_invalid_argument(const char*) { throw Exception("不正な引数が指定されました"); }
void __throw_bad_function_call() { throw Exception("内部エラーが発生しました"); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { std::abort(); }
}  // namespace std
