#pragma once

#include "model/Records.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

// The names of one section, case-folded once and laid end to end, so that a search or a
// filter is a scan of contiguous text (in runs on worker threads for long lists) instead
// of a case-insensitive comparison per name.
//
// Folding is Unicode simple case folding per code point, the rule Qt's case-insensitive
// comparisons apply: contains(fold(q)) on a folded name answers exactly what
// name.contains(q, Qt::CaseInsensitive) answers.
class FoldedNames {
public:
    FoldedNames() = default;
    explicit FoldedNames(const MediaItems &items);

    static QString fold(QStringView text);

    // Lists longer than this are folded and searched in runs of this many names on worker
    // threads.
    static constexpr qint32 kChunkNames = 32768;

    qsizetype size() const { return qsizetype(m_starts.size()) - 1; }

    // Positions, in catalog order, of at most `limit` names containing `foldedQuery`
    // (already folded, not empty).
    std::vector<qint32> find(QStringView foldedQuery, qsizetype limit) const;
    // The positions whose names contain `foldedQuery` (already folded), in their given order;
    // all of them for an empty query.
    std::vector<qint32> filter(std::vector<qint32> positions, QStringView foldedQuery) const;
    // The name filter of a list: the positions whose names contain `query`, trimmed of spaces
    // and tabs, ignoring case, in their given order; all of them for a blank query.
    std::vector<qint32> matching(std::vector<qint32> positions, QStringView query) const;

private:
    // Calls `work(first, end)` for runs of at most kChunkNames of the `count` items, on
    // worker threads when there is more than one run; returns when all are done.
    static void inRuns(qsizetype count, const std::function<void(qint32 first, qint32 end)> &work);

    // The first `limit` matches among the names first .. end - 1.
    std::vector<qint32> findIn(QStringView foldedQuery, qsizetype limit, qint32 first, qint32 end) const;
    // The name holding the match at `at`, or -1 when the match runs past that name's end;
    // `name` is the name at or before `at`, moved forward as needed.
    qint32 nameOfMatch(qsizetype at, qsizetype length, qint32 &name) const;

    // Folded names, each followed by one separator unit.
    QString m_text;
    // Where each name starts in m_text, and one more entry for the end.
    std::vector<qsizetype> m_starts { 0 };
};
