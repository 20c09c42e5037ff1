// Both message orders as a test parameter: Windows' (a thread takes sent messages before
// posted ones) and Wine's (both in the order they came). Tests through the awaited calls
// run under each, with programs slow enough that the order decides what a wait sees.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {

// A program that looks at its queue this often: every call on it is awaited, and the
// order decides whether the answer to a wait comes before the call it waits on.
inline constexpr unsigned SlowAnswerMs = 30;

inline const auto BothMessageOrders = ::testing::Values(MessageOrder::Windows, MessageOrder::Wine);

inline std::string orderName(const ::testing::TestParamInfo<MessageOrder>& info) {
    return info.param == MessageOrder::Windows ? "Windows" : "Wine";
}

}  // namespace skelvo::testing
