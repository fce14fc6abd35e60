#include "RowEdits.h"

#include <algorithm>
#include <unordered_set>

namespace {

// The removals, from the back so each range is named in the rows still there.
void appendRemovals(
    std::vector<RowEdit> &edits, const std::vector<qint32> &from, const std::vector<qint32> &to)
{
    const std::unordered_set<qint32> kept(to.begin(), to.end());
    for (int row = int(from.size()) - 1; row >= 0;) {
        if (kept.contains(from[size_t(row)])) {
            --row;
            continue;
        }
        const int last = row;
        while (row >= 0 && !kept.contains(from[size_t(row)]))
            --row;
        edits.push_back({ RowEdit::Kind::remove, row + 1, last });
    }
}

} // namespace

std::vector<RowEdit> rowEdits(const std::vector<qint32> &from, const std::vector<qint32> &to)
{
    std::vector<RowEdit> edits;
    appendRemovals(edits, from, to);
    std::vector<qint32> rows = from;
    for (const RowEdit &edit : edits)
        applyRowEdit(rows, edit, to);
    const std::unordered_set<qint32> old(from.begin(), from.end());
    for (int at = 0; at < int(to.size());) {
        const qint32 wanted = to[size_t(at)];
        if (at < int(rows.size()) && rows[size_t(at)] == wanted) {
            ++at;
            continue;
        }
        RowEdit edit { RowEdit::Kind::insert, at, at };
        if (old.contains(wanted)) {
            const auto found = std::find(rows.begin() + at, rows.end(), wanted);
            edit = { RowEdit::Kind::move, int(found - rows.begin()), at };
        } else {
            while (edit.last + 1 < int(to.size()) && !old.contains(to[size_t(edit.last) + 1]))
                ++edit.last;
        }
        applyRowEdit(rows, edit, to);
        edits.push_back(edit);
        at = edit.kind == RowEdit::Kind::insert ? edit.last + 1 : at + 1;
    }
    // Repeats of a value in `from` are left over at the end.
    if (rows.size() > to.size())
        edits.push_back({ RowEdit::Kind::remove, int(to.size()), int(rows.size()) - 1 });
    return edits;
}

void applyRowEdit(std::vector<qint32> &rows, const RowEdit &edit, const std::vector<qint32> &to)
{
    const auto at = [&rows](int row) { return rows.begin() + row; };
    switch (edit.kind) {
    case RowEdit::Kind::remove:
        rows.erase(at(edit.first), at(edit.last + 1));
        break;
    case RowEdit::Kind::insert:
        rows.insert(at(edit.first), to.begin() + edit.first, to.begin() + edit.last + 1);
        break;
    case RowEdit::Kind::move:
        // Rows only ever move up, to a place before their own.
        std::rotate(at(edit.last), at(edit.first), at(edit.first + 1));
        break;
    }
}
