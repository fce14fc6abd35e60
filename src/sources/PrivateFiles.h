#pragma once

#include <QFileDevice>
#include <QString>

// Settings and caches hold provider passwords and the device key: only the user reads them.
inline constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kPrivateFolder = kPrivateFile | QFileDevice::ExeOwner;

// Creates the folder (and missing parents) and makes it private, also when it existed.
bool makePrivateFolder(const QString &path);
// Makes an existing file private; false when it is missing or cannot be changed.
bool makePrivateFile(const QString &path);
// "<generic cache folder>/Zelfor", private; the caches live below it.
QString privateCacheRoot();
