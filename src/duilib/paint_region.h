#pragma once
// The parts of a window that changed since it was last drawn: a few rectangles, merged
// where they touch, or the whole client area.

#include <cstddef>
#include <vector>

#include "platform/win_types.h"

namespace DuiLib {

class CPaintRegion {
  public:
    // Past this many separate parts their bounding rectangle is drawn instead: walking the
    // tree once per part would cost more than the pixels saved.
    static constexpr size_t kMaxRects = 32;

    void Add(const RECT& rc);
    void AddAll() { m_all = true; }
    bool IsEmpty() const { return !m_all && m_rects.empty(); }
    // The parts within a client area of `client`, then nothing is left.
    std::vector<RECT> Take(SIZE client);

  private:
    bool m_all = false;
    std::vector<RECT> m_rects;
};

}  // namespace DuiLib
