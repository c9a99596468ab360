#include "windows/chooser/path_rules.h"

#include <algorithm>
#include <cwctype>

namespace skyfare {

namespace {

constexpr wchar_t kSeparator = L'\\';

bool sameLetterIgnoringCase(wchar_t a, wchar_t b) {
  return a == b || std::towupper(static_cast<wint_t>(a)) == std::towupper(static_cast<wint_t>(b));
}

}  // namespace

std::wstring joinFolderAndName(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (path.empty() || path.back() != kSeparator)
    path += kSeparator;
  path += name;
  return path;
}

bool matchesPattern(std::wstring_view name, std::wstring_view pattern) {
  if (pattern == L"*.*")
    return true;
  // Greedy matching that returns to the last "*" on a mismatch: linear in practice, never
  // exponential whatever the pattern.
  size_t at = 0;
  size_t from = 0;
  std::optional<size_t> starFrom;
  size_t starAt = 0;
  while (at < name.size()) {
    if (from < pattern.size() && pattern[from] == L'*') {
      starFrom = from++;
      starAt = at;
    } else if (from < pattern.size() &&
               (pattern[from] == L'?' || sameLetterIgnoringCase(pattern[from], name[at]))) {
      ++from;
      ++at;
    } else if (starFrom) {
      from = *starFrom + 1;
      at = ++starAt;
    } else {
      return false;
    }
  }
  while (from < pattern.size() && pattern[from] == L'*') ++from;
  return from == pattern.size();
}

std::optional<std::wstring> chosenPath(std::wstring_view folder, std::wstring_view typedName,
                                       std::wstring_view selectedName) {
  if (typedName.empty())
    return std::nullopt;
  if (typedName == selectedName)
    return joinFolderAndName(folder, typedName);
  return std::wstring(typedName);
}

std::wstring rootOf(std::wstring_view folder) {
  if (folder.size() >= 2 && folder[1] == L':')
    return std::wstring(folder.substr(0, 2)) + kSeparator;
  if (folder.starts_with(L"\\\\")) {
    // "\\server\share\": the separator after the share, or the end.
    const size_t server = folder.find(kSeparator, 2);
    const size_t share = server == std::wstring_view::npos ? std::wstring_view::npos
                                                           : folder.find(kSeparator, server + 1);
    std::wstring root(folder.substr(0, share));
    return root + kSeparator;
  }
  return std::wstring(1, kSeparator);
}

std::vector<std::wstring> ancestorsOf(std::wstring_view folder) {
  const std::wstring root = rootOf(folder);
  std::vector<std::wstring> chain{root};
  std::wstring path = root;
  size_t start = std::min(root.size(), folder.size());
  while (start < folder.size()) {
    size_t end = folder.find(kSeparator, start);
    if (end == std::wstring_view::npos)
      end = folder.size();
    if (end > start) {
      if (path.back() != kSeparator)
        path += kSeparator;
      path += folder.substr(start, end - start);
      chain.push_back(path);
    }
    start = end + 1;
  }
  return chain;
}

std::wstring folderName(std::wstring_view folder) {
  if (folder.empty() || rootOf(folder) == folder)
    return std::wstring(folder);
  std::wstring_view trimmed = folder;
  if (trimmed.back() == kSeparator)
    trimmed.remove_suffix(1);
  const size_t last = trimmed.rfind(kSeparator);
  return std::wstring(last == std::wstring_view::npos ? trimmed : trimmed.substr(last + 1));
}

std::wstring withoutFinalSeparator(std::wstring_view folder) {
  if (folder.size() > 1 && folder.back() == kSeparator && rootOf(folder) != folder)
    folder.remove_suffix(1);
  return std::wstring(folder);
}

std::optional<wchar_t> driveLetterOf(std::wstring_view folder) {
  if (folder.size() < 2 || folder[1] != L':')
    return std::nullopt;
  const wchar_t letter = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(folder[0])));
  if (letter < L'A' || letter > L'Z')
    return std::nullopt;
  return letter;
}

}  // namespace skyfare
