#pragma once

#include <QString>

// A value joined to a translated label (a key, an address, a version, a time, a count, a
// user agent, a number) is wrapped in a first-strong isolate: it keeps its own reading
// order, does not move the label's digits or punctuation, and does not decide the
// direction of the line. An empty value stays empty.
QString isolated(const QString &value);

// `label`, `separator` and the isolated `value`, in reading order.
QString labelled(const QString &label, const QString &value, const QString &separator = QStringLiteral(" "));

// A line of items joined by `separator` ("Esc back · F full screen"), each item isolated in
// the line's direction and kept on one line, so that a key name stays beside its own label and
// not a neighbour's.
QString isolatedItems(
    const QString &line, bool rightToLeft, const QString &separator = QStringLiteral(" · "));

// A line of a right-to-left language that starts with a Latin word ("Zelfor الإصدار 1.1")
// would take its direction from that word; a leading right-to-left mark makes it read
// right to left. Other lines are returned unchanged.
QString readingRightToLeft(const QString &line);
