#pragma once

#include "shell/Services.h"

#include <gtest/gtest.h>

#include <memory>

// The program's services for a test process, as the program has them for its run: made and
// registered on a test's first use (once the portal address is set), and taken down after the
// last test, while the application still stands.
inline Services &programServices()
{
    static std::unique_ptr<Services> services;
    struct TakeDown : ::testing::Environment {
        void TearDown() override { services.reset(); }
    };
    if (!services) {
        services = std::make_unique<Services>();
        services->registerInstances();
        ::testing::AddGlobalTestEnvironment(new TakeDown);
    }
    return *services;
}
