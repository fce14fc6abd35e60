#pragma once

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

// Checks properties the way a view reads them: snapshots every readable property of
// `object` (and of its CONSTANT sub-objects) through QMetaObject, runs `step`, and returns
// one line per property whose value changed without its NOTIFY signal, and per property
// that has no NOTIFY without being CONSTANT. Empty when all is well.
QStringList auditNotifications(QObject *object, const std::function<void()> &step);

// Passes when `step` changed nothing unannounced; otherwise names each problem.
::testing::AssertionResult notifiesEveryChange(QObject *object, const std::function<void()> &step);
