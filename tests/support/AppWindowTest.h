#pragma once

#include "AppWindow.h"
#include "ProgramServices.h"
#include "app/AppState.h"

#include <QQuickWindow>
#include <gtest/gtest.h>

#include <memory>

// A test over the application's whole window: shown by `showWindow()` at the end of a
// fixture's SetUp, and failed on any warning raised while it lived.
class AppWindowTest : public ::testing::Test {
protected:
    void showWindow()
    {
        shown = std::make_unique<AppWindow>();
        ASSERT_TRUE(shown->problems().isEmpty()) << qPrintable(shown->problems().join('\n'));
        window = shown->window();
        ASSERT_TRUE(window);
    }

    void TearDown() override
    {
        if (shown)
            EXPECT_TRUE(shown->warnings().isEmpty()) << qPrintable(shown->warnings().join('\n'));
        shown.reset();
        programServices().app()->setLanguage(QStringLiteral("en"));
    }

    std::unique_ptr<AppWindow> shown;
    QQuickWindow *window = nullptr;
};
