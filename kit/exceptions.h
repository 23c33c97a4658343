// The exception family every failure of the updater is reported with. Each
// carries a UTF-8 message that is shown to the user exactly as it stands.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EStreamError : public Exception { using Exception::Exception; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EResNotFound : public Exception { using Exception::Exception; };
class ERegistryException : public Exception { using Exception::Exception; };

// The message texts the updater shows, in one place.
namespace msg {
inline constexpr const char* kReadError = "ストリームからの読み込みエラー";
inline constexpr const char* kWriteError = "ストリームへの書き込みエラー";
inline constexpr const char* kResNotFound = "%s リソースが見つかりません";
inline constexpr const char* kFCreateError = "ファイル %s を作成できません";
inline constexpr const char* kFOpenError = "ファイル %s を開けません";
inline constexpr const char* kRegInvalidType = "'%s' のデータ型が不正です";
inline constexpr const char* kRegReadFailed = "'%s' の取得に失敗しました";
}  // namespace msg

// Replaces the first "%s" of a message template with the argument.
std::string FormatMessage1(const char* pattern, const std::string& arg);
