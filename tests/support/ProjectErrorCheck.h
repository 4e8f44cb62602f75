#pragma once

// Checks that a statement raises a ProjectError with the given number (the automation
// runtime's error number that hosts tell the cases apart by). Any other exception fails the
// test as well. Further text can be streamed in, as into EXPECT_TRUE.

#include "ProjectError.h"

#include <gtest/gtest.h>

template <typename Statement>
::testing::AssertionResult raisesProjectError(Statement&& statement, ProjectError::Number expected,
                                              const char* text) {
    try {
        statement();
    } catch (const ProjectError& raised) {
        if (raised.number() == expected)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << text << " raised ProjectError " << static_cast<int>(raised.number()) << " ("
               << raised.description().toStdString() << "), not " << static_cast<int>(expected);
    }
    return ::testing::AssertionFailure() << text << " raised no ProjectError";
}

#define EXPECT_PROJECT_ERROR(statement, errorNumber)                                                         \
    EXPECT_TRUE(raisesProjectError([&] { static_cast<void>(statement); }, (errorNumber), #statement))
