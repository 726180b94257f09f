// Runtime errors end the process: tests that expect one run the call in a death test with
// the message moved to the error stream and no debugger input, so the stop exits at once.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#define EXPECT_RUNTIME_ERROR(statement, message)              \
    EXPECT_EXIT(                                              \
        {                                                     \
            if (!std::freopen("/dev/null", "r", stdin)) {}    \
            dup2(2, 1);                                       \
            statement;                                        \
        },                                                    \
        ::testing::ExitedWithCode(255), message)
