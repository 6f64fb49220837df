#pragma once
// The strip marks only the cells on screen when it selects, and a cell made later for the
// selected row (the strip centring it, or scrolled back) would look unselected: the strips' data
// sources give each cell they hand out the look of its row.

#include "TesselSDKFoundation/QZConveyorView.h"

// Depressed for the strip's selected row, adjacent for the row left of it.
inline void QZConveyorCellShowSelection(QZConveyorViewCell& cell, const QZConveyorView* strip, NSInteger index)
{
    const NSInteger selected = strip ? strip->selectedIndex() : NSNotFound;
    cell.setDepressed(selected != NSNotFound && index == selected);
    cell.setAdjacent(selected != NSNotFound && index + 1 == selected);
}
