#pragma once
// What a catalogue tells whoever shows its rows: each change announced before it
// is made and confirmed after, in the terms of a table model.

#include <QtGlobal>
#include <span>

namespace sonivo {

// A row's identity: given once, never again while the program runs.
using RowId = quint64;

enum class RowChange { Checks, Icons, Texts };

class CatalogueObserver {
public:
    virtual ~CatalogueObserver() = default;

    // Every row goes (and others may come in their place).
    virtual void rowsAboutToBeReset() = 0;
    virtual void rowsReset() = 0;
    // Rows first to first + count - 1 come at the end.
    virtual void rowsAboutToBeAppended(qsizetype first, qsizetype count) = 0;
    virtual void rowsAppended() = 0;
    // Rows first to last (inclusive) go; the rows after them move up.
    virtual void rowsAboutToBeRemoved(qsizetype first, qsizetype last) = 0;
    virtual void rowsRemoved() = 0;
    // The same rows in another order: newToOld[p] is the old position of the row
    // now at position p.
    virtual void rowsAboutToBeReordered() = 0;
    virtual void rowsReordered(std::span<const qsizetype> newToOld) = 0;
    // Something of rows first to last changed in place.
    virtual void rowsChanged(qsizetype first, qsizetype last, RowChange what) = 0;
};

}  // namespace sonivo
