// QopBorderLines.h: the work lines the border engine's tests hand to each call.
#pragma once

#include "QopLite/QopBorders.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qop_test {

// Exactly sized work lines: a walk past their end is a heap overflow that AddressSanitizer sees.
// lineB serves as Torn2's second line (max(W, H)) and as HardRand's bottom line (W).
struct BorderLines {
    std::vector<float> line, lineA, lineB, lineL, lineR, lineT;
    BorderLines(size_t W, size_t H)
        : line(std::max(W, H)), lineA(std::max(W, H)), lineB(std::max(W, H)), lineL(H), lineR(H), lineT(W)
    {
    }
    void attach(QopBorderParams_t *p)
    {
        p->line = line.data();
        p->lineA = lineA.data();
        p->lineB = lineB.data();
        p->lineL = lineL.data();
        p->lineR = lineR.data();
        p->lineT = lineT.data();
    }
};

} // namespace qop_test
