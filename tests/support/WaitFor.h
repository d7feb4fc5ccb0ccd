// Waiting for event-loop effects inside GoogleTest (Qt's QTRY_ macros report to QTest only).
#pragma once

#include <QTest>
#include <gtest/gtest.h>

#define EXPECT_EVENTUALLY(cond) EXPECT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(cond); }, 3000)) << #cond
