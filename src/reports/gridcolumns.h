#pragma once

#include <QList>
#include <QString>

class QTableView;

namespace qandor {

// The columns of a list grid as the column chooser sees them. The list
// grid implements it (or is wrapped by an adapter); tests use a plain one.
class GridColumns {
public:
    virtual ~GridColumns() = default;
    virtual int columnCount() const = 0;
    // Position-ordered: column i is the i-th shown from the left.
    virtual QString caption(int column) const = 0;
    virtual bool isVisible(int column) const = 0;
    virtual void setVisible(int column, bool visible) = 0;
    // Moves the column at position `from` to position `to`.
    virtual void move(int from, int to) = 0;
    // Columns frozen at the left (they must stay visible).
    virtual int frozenCount() const { return 0; }
};

// GridColumns over any QTableView: captions from the model's horizontal
// header, positions from the header's visual order.
class TableViewColumns final : public GridColumns {
public:
    explicit TableViewColumns(QTableView *view, int frozen = 0) : m_view(view), m_frozen(frozen) {}
    int columnCount() const override;
    QString caption(int column) const override;
    bool isVisible(int column) const override;
    void setVisible(int column, bool visible) override;
    void move(int from, int to) override;
    int frozenCount() const override { return m_frozen; }

private:
    QTableView *m_view;
    int m_frozen;
};

// The column chooser's rules: one row per grid column in grid order,
// ticked when shown; the operator ticks, unticks and reorders rows and
// applies them to the grid at once.
class ColumnChoice {
public:
    explicit ColumnChoice(GridColumns &grid);

    struct Item {
        int column;      // the grid position when the chooser opened
        QString caption;
        bool ticked;
    };
    const QList<Item> &items() const { return m_items; }
    void setTicked(int row, bool ticked);
    void tickAll();
    void invert();
    void untickAll();
    void moveRow(int from, int to);

    // The fewest ticked rows allowed: frozen columns + 1, or 0 without frozen columns.
    int minimum() const;
    int tickedCount() const;
    // The warning when too few rows are ticked, else empty.
    QString check() const;
    // Sets the grid's order and visibility from the rows; false (and
    // nothing changed) when check() fails.
    bool apply();

private:
    GridColumns &m_grid;
    QList<Item> m_items;
};

} // namespace qandor
