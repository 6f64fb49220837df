#pragma once
// Transactions group layer changes. Layers here never animate implicitly, so a transaction only
// keeps its nesting and the disable-actions flag that code reads and restores.

class CATransaction {
public:
    static void begin();
    static void commit();
    static bool disableActions();
    static void setDisableActions(bool disable);
    // Open transactions on this thread (tests).
    static int depth();
};
