#include "duilib/paint_region.h"

#include <algorithm>

namespace DuiLib {
namespace {

bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// Overlapping or sharing an edge.
bool Touch(const RECT& a, const RECT& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

void CPaintRegion::Add(const RECT& rc) {
    if (m_all || IsEmptyRect(rc)) {
        return;
    }
    RECT merged = rc;
    // A merge can make the rectangle touch parts it did not touch before: look again.
    for (auto it = m_rects.begin(); it != m_rects.end();) {
        if (Touch(*it, merged)) {
            merged = Union(*it, merged);
            m_rects.erase(it);
            it = m_rects.begin();
        } else {
            ++it;
        }
    }
    m_rects.push_back(merged);
    if (m_rects.size() > kMaxRects) {
        RECT bounds = m_rects.front();
        for (const RECT& part : m_rects) {
            bounds = Union(bounds, part);
        }
        m_rects.assign(1, bounds);
    }
}

std::vector<RECT> CPaintRegion::Take(SIZE client) {
    const RECT area{0, 0, client.cx, client.cy};
    std::vector<RECT> parts;
    if (m_all) {
        parts.push_back(area);
    } else {
        for (const RECT& rc : m_rects) {
            const RECT clipped{std::max(rc.left, area.left), std::max(rc.top, area.top),
                               std::min(rc.right, area.right), std::min(rc.bottom, area.bottom)};
            if (!IsEmptyRect(clipped)) {
                parts.push_back(clipped);
            }
        }
    }
    if (IsEmptyRect(area)) {
        parts.clear();
    }
    m_all = false;
    m_rects.clear();
    return parts;
}

}  // namespace DuiLib
