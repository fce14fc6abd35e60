#pragma once

#include "model/Records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Reads a whole system file; nothing when it is missing or unreadable.
using SystemFileReader = std::function<std::optional<QByteArray>(const QString &path)>;

std::optional<QByteArray> readSystemFile(const QString &path);

// Display name of this machine, e.g. "Apple MacBook Pro" or "LENOVO 20HRCTO1WW".
QString deviceModelName();
QString deviceModelName(const SystemFileReader &read);

// Name and version of the running system, e.g. "Debian GNU/Linux 12 (bookworm)".
QString osVersionString();
QString osVersionString(const SystemFileReader &read, const QString &kernelRelease);

// Trimmed, "http://" added when no http(s) scheme is given, trailing "/" removed.
QString normalizeServerAddress(const OptText &address);

inline const QString kDefaultPortalAddress = QStringLiteral("https://portal.zelfor.tv");

// The portal address for this run: "--server <address>", else $ZELFOR_SERVER, else
// the built-in address. Computed once on first use, from any thread.
QString portalBaseAddress();
// The same choice from the given process arguments (program path first) and the
// value of ZELFOR_SERVER (empty when unset).
QString portalBaseAddressFrom(const QStringList &arguments, const QString &serverVariable);
