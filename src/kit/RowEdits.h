#pragma once

#include <QtGlobal>

#include <vector>

// One step of turning a list of rows into another, as a list model announces it.
struct RowEdit {
    enum class Kind { remove, insert, move };

    Kind kind;
    // remove: rows first .. last go; insert: the target's rows first .. last come in at
    // first; move: row `first` goes to row `last`.
    int first;
    int last;

    bool operator==(const RowEdit &) const = default;
};

// The steps, in order, that turn `from` into `to` (`to` naming each value at most once):
// the removals from the back, then from the front every row is either in place, moved up
// from further down or inserted. Rows that stay are kept, so a view keeps their
// delegates. Meant for short lists such as search results: a move looks its row up by a
// scan.
std::vector<RowEdit> rowEdits(const std::vector<qint32> &from, const std::vector<qint32> &to);

// Applies one step of rowEdits(rows, to) to `rows`.
void applyRowEdit(std::vector<qint32> &rows, const RowEdit &edit, const std::vector<qint32> &to);
