#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace sorvella {

// The program's one exception type. The kind tells the catcher what to offer:
// 0 none (an empty slot), 1 an ordinary failure, 2 a device/codec/file open
// failure the user may retry, 4 an error that is being shown and must not be
// overwritten.
class RecException : public std::exception {
public:
    enum Kind : std::int32_t { None = 0, Failure = 1, OpenFailure = 2, Showing = 4 };

    RecException() = default;
    explicit RecException(std::string message) : m_kind(Failure), m_message(std::move(message)) {}
    RecException(std::int32_t kind, std::string message) : m_kind(kind), m_message(std::move(message)) {}

    std::int32_t kind() const noexcept { return m_kind; }
    void setKind(std::int32_t kind) noexcept { m_kind = kind; }
    const std::string& message() const noexcept { return m_message; }
    // Why the layer beneath failed, in a user's words, where the message is
    // this layer's own (the reason an input device would not open); empty
    // when nothing more is known.
    const std::string& cause() const noexcept { return m_cause; }
    void setCause(std::string cause) { m_cause = std::move(cause); }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::int32_t m_kind = None;
    std::string m_message;
    std::string m_cause;
};

} // namespace sorvella
