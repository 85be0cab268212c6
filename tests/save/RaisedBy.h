#pragma once

#include "core/RecException.h"

#include <gtest/gtest.h>

#include <functional>

namespace sorvella::test {

// The RecException that `action` raises; the test fails when it raises none.
inline RecException raisedBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RecException& e) {
        return e;
    }
    ADD_FAILURE() << "no RecException raised";
    return RecException();
}

} // namespace sorvella::test
