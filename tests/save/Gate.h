#pragma once

#include <condition_variable>
#include <mutex>

namespace sorvella::test {

// Holds the threads that reach it until the test opens it.
class Gate {
public:
    void pass()
    {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_opened.wait(lock, [this] { return m_open; });
        --m_waiting;
    }

    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

    bool held() const
    {
        std::lock_guard lock(m_mutex);
        return m_waiting > 0;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
    int m_waiting = 0;
};

} // namespace sorvella::test
