#pragma once

#include <atomic>

namespace sorvella {

// A value that one thread writes and another polls (settings read by the
// device callback while a dialog changes them, counters shown by the timer).
// Unlike std::atomic it copies, so records holding it stay copyable.
template <typename T>
class Relaxed {
public:
    Relaxed() = default;
    Relaxed(T value) : m_value(value) {} // NOLINT(google-explicit-constructor)
    Relaxed(const Relaxed& other) : m_value(other.load()) {}
    Relaxed& operator=(const Relaxed& other)
    {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T value)
    {
        store(value);
        return *this;
    }
    operator T() const { return load(); } // NOLINT(google-explicit-constructor)

    T load() const { return m_value.load(std::memory_order_acquire); }
    void store(T value) { m_value.store(value, std::memory_order_release); }
    T fetchAdd(T delta) { return m_value.fetch_add(delta, std::memory_order_acq_rel); }

private:
    std::atomic<T> m_value{};
};

} // namespace sorvella
