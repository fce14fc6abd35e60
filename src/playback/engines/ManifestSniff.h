#pragma once

#include <QByteArrayView>

// Whether a stream is a streaming manifest in XML (DASH, Smooth Streaming), from its content
// type and its first bytes. Media files are never taken for one, whatever their box sizes.
bool looksLikeXmlManifest(const char *contentType, QByteArrayView head);
