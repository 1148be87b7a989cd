// The arithmetic layout of the four list views.
#include "fw/ListLayout.h"

#include <algorithm>

#include "fw/WindowStyles.h"

namespace fw {
namespace {

int CeilDiv(int value, int divisor) { return divisor <= 0 ? 0 : (value + divisor - 1) / divisor; }

}  // namespace

ListLayout::ListLayout(const ListMetrics& metrics) : metrics_(metrics) {
  metrics_.rowHeight = std::max(1, metrics_.rowHeight);
  metrics_.columnWidth = std::max(1, metrics_.columnWidth);
  metrics_.iconCell.cx = std::max(1, metrics_.iconCell.cx);
  metrics_.iconCell.cy = std::max(1, metrics_.iconCell.cy);
  metrics_.client.cx = std::max(0, metrics_.client.cx);
  metrics_.client.cy = std::max(0, metrics_.client.cy);
}

int ListLayout::Columns() const {
  int cell = metrics_.view == LVS_ICON ? metrics_.iconCell.cx : metrics_.columnWidth;
  return std::max(1, metrics_.client.cx / cell);
}

int ListLayout::Rows() const { return std::max(1, metrics_.client.cy / metrics_.rowHeight); }

CRect ListLayout::CellAt(int position) const {
  switch (metrics_.view & LVS_TYPEMASK) {
    case LVS_REPORT: {
      int top = metrics_.headerHeight + position * metrics_.rowHeight;
      return CRect{0, top, std::max(metrics_.reportWidth, 1), top + metrics_.rowHeight};
    }
    case LVS_LIST: {
      int left = (position / Rows()) * metrics_.columnWidth;
      int top = (position % Rows()) * metrics_.rowHeight;
      return CRect{left, top, left + metrics_.columnWidth, top + metrics_.rowHeight};
    }
    case LVS_SMALLICON: {
      int left = (position % Columns()) * metrics_.columnWidth;
      int top = (position / Columns()) * metrics_.rowHeight;
      return CRect{left, top, left + metrics_.columnWidth, top + metrics_.rowHeight};
    }
    default: {  // LVS_ICON
      int left = (position % Columns()) * metrics_.iconCell.cx;
      int top = (position / Columns()) * metrics_.iconCell.cy;
      return CRect{left, top, left + metrics_.iconCell.cx, top + metrics_.iconCell.cy};
    }
  }
}

CSize ListLayout::ContentSize() const {
  int count = metrics_.count;
  switch (metrics_.view & LVS_TYPEMASK) {
    case LVS_REPORT:
      return CSize{metrics_.reportWidth, metrics_.headerHeight + count * metrics_.rowHeight};
    case LVS_LIST:
      return CSize{CeilDiv(count, Rows()) * metrics_.columnWidth, metrics_.client.cy};
    case LVS_SMALLICON:
      return CSize{metrics_.client.cx, CeilDiv(count, Columns()) * metrics_.rowHeight};
    default:
      return CSize{metrics_.client.cx, CeilDiv(count, Columns()) * metrics_.iconCell.cy};
  }
}

CRect ListLayout::ItemRect(int position, CPoint scroll) const {
  CRect rect = CellAt(position);
  // The report header stays put while the rows scroll under it.
  rect.OffsetRect(-scroll.x, -scroll.y);
  return rect;
}

int ListLayout::HitTest(CPoint point, CPoint scroll) const {
  if (point.x < 0 || point.y < 0 || point.x >= metrics_.client.cx ||
      point.y >= metrics_.client.cy) {
    return -1;
  }
  int x = point.x + scroll.x;
  int y = point.y + scroll.y;
  int position = -1;
  switch (metrics_.view & LVS_TYPEMASK) {
    case LVS_REPORT:
      if (point.y < metrics_.headerHeight || x >= metrics_.reportWidth) return -1;
      position = (y - metrics_.headerHeight) / metrics_.rowHeight;
      break;
    case LVS_LIST: {
      int row = y / metrics_.rowHeight;
      if (row >= Rows()) return -1;
      position = (x / metrics_.columnWidth) * Rows() + row;
      break;
    }
    case LVS_SMALLICON: {
      int column = x / metrics_.columnWidth;
      if (column >= Columns()) return -1;
      position = (y / metrics_.rowHeight) * Columns() + column;
      break;
    }
    default: {
      int column = x / metrics_.iconCell.cx;
      if (column >= Columns()) return -1;
      position = (y / metrics_.iconCell.cy) * Columns() + column;
      break;
    }
  }
  return position >= 0 && position < metrics_.count ? position : -1;
}

int ListLayout::TopIndex(CPoint scroll) const {
  if (metrics_.count == 0) return 0;
  int top = 0;
  switch (metrics_.view & LVS_TYPEMASK) {
    case LVS_REPORT:
      top = scroll.y / metrics_.rowHeight;
      break;
    case LVS_LIST:
      top = (scroll.x / metrics_.columnWidth) * Rows();
      break;
    case LVS_SMALLICON:
      top = (scroll.y / metrics_.rowHeight) * Columns();
      break;
    default:
      top = (scroll.y / metrics_.iconCell.cy) * Columns();
      break;
  }
  return std::clamp(top, 0, metrics_.count - 1);
}

int ListLayout::CountPerPage() const {
  switch (metrics_.view & LVS_TYPEMASK) {
    case LVS_REPORT:
      return std::max(0, (metrics_.client.cy - metrics_.headerHeight) / metrics_.rowHeight);
    case LVS_LIST:
      return Rows() * std::max(1, metrics_.client.cx / metrics_.columnWidth);
    case LVS_SMALLICON:
      return Columns() * std::max(1, metrics_.client.cy / metrics_.rowHeight);
    default:
      return Columns() * std::max(1, metrics_.client.cy / metrics_.iconCell.cy);
  }
}

CPoint ListLayout::ScrollToShow(int position, CPoint scroll, bool partialOk) const {
  if (position < 0 || position >= metrics_.count) return scroll;
  CRect cell = CellAt(position);
  bool horizontal = (metrics_.view & LVS_TYPEMASK) == LVS_LIST;
  int start = horizontal ? cell.left : cell.top;
  int end = horizontal ? cell.right : cell.bottom;
  int offset = horizontal ? scroll.x : scroll.y;
  // Report rows show below the header.
  int viewStart = offset + ((metrics_.view & LVS_TYPEMASK) == LVS_REPORT ? metrics_.headerHeight : 0);
  int viewEnd = offset + (horizontal ? metrics_.client.cx : metrics_.client.cy);
  bool shown = start >= viewStart && end <= viewEnd;
  bool partlyShown = end > viewStart && start < viewEnd;
  if (shown || (partialOk && partlyShown)) return scroll;
  if (start < viewStart) {
    offset -= viewStart - start;
  } else {
    offset += std::min(end - viewEnd, start - viewStart);
    // The report view scrolls by whole rows and the list view by whole columns, as on the
    // platform, so the item shows wholly at the bottom or right.
    int step = (metrics_.view & LVS_TYPEMASK) == LVS_REPORT ? metrics_.rowHeight
               : horizontal                                  ? metrics_.columnWidth
                                                             : 1;
    offset = CeilDiv(offset, step) * step;
  }
  CPoint moved = scroll;
  (horizontal ? moved.x : moved.y) = offset;
  return ClampScroll(moved);
}

CPoint ListLayout::ClampScroll(CPoint scroll) const {
  CSize content = ContentSize();
  int maxX = std::max(0, content.cx - metrics_.client.cx);
  int maxY = std::max(0, content.cy - metrics_.client.cy);
  return CPoint{std::clamp(scroll.x, 0, maxX), std::clamp(scroll.y, 0, maxY)};
}

}  // namespace fw
