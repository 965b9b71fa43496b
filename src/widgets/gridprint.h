#pragma once

#include <QString>

class QPagedPaintDevice;

namespace qandor {

class GridModel;
class DataGrid;

// Paints every row of the grid (visible columns, fitted to the page width)
// onto a paged device: the title on each page, the column titles repeated
// on each page, grid lines, rows stretched to their text, the footer rows
// after the last row and "第n页 共m页" at the bottom. Returns the number of
// pages; 0 when the device could not be painted on.
int renderGrid(const GridModel &model, QPagedPaintDevice &device, const QString &title);

// The print command: a print preview of the grid, landscape or portrait,
// from which the operator prints.
void PrintGrid(DataGrid &grid, bool landscape, const QString &title);

} // namespace qandor
