#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Addresses that come from the portal and are handed to the desktop.

// The address as a web page: http or https with a host; nothing for any other scheme
// (file:, smb:, custom handlers) or a text that is no valid address.
std::optional<QUrl> webPageUrl(const QString &address);

// "mailto:" with the address percent-encoded, when it is one plain e-mail address: one "@"
// with text on both sides, no white space or control character and none of ? & % , ; that
// would add recipients, headers or a body.
std::optional<QUrl> mailtoUrl(const QString &email);
