#include "windows/config/gap_layout.h"

#include <algorithm>

namespace skyfare {

BlankRun longestBlankRun(std::wstring_view text) {
  BlankRun longest;
  std::size_t runStart = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] == L' ')
      continue;
    if (at - runStart > longest.end - longest.start)
      longest = {runStart, at};
    runStart = at + 1;
  }
  return longest;
}

std::vector<int> placeSideBySide(int left, int right, int spacing, std::vector<int>& widths) {
  int fixed = 0;
  int sharers = 0;
  for (const int width : widths) {
    fixed += width;
    sharers += width == 0 ? 1 : 0;
  }
  const int gaps = widths.empty() ? 0 : static_cast<int>(widths.size()) - 1;
  const int share = sharers == 0 ? 0 : std::max(0, right - left - fixed - gaps * spacing) / sharers;
  std::vector<int> lefts;
  int x = left;
  for (int& width : widths) {
    if (width == 0)
      width = share;
    lefts.push_back(x);
    x += width + spacing;
  }
  return lefts;
}

}  // namespace skyfare
