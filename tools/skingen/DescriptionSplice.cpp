#include "DescriptionSplice.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace skingen {
namespace {

using Lines = std::vector<std::string>;

Lines SplitLines(std::string_view text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    lines.emplace_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return lines;
}

std::string JoinLines(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string Indentation(const std::string& line) {
  return line.substr(0, line.find_first_not_of(' '));
}

struct Block {
  std::size_t first;  // the opening line
  std::size_t last;   // the closing line
};

// The first block at or after `from` (and before `until`) whose opening line, without its
// indentation, is `opening`; it closes with `closing` at the same indentation.
Block FindBlock(const Lines& lines, std::size_t from, std::size_t until, std::string_view opening,
                std::string_view closing) {
  for (std::size_t i = from; i < until; ++i) {
    const std::string indent = Indentation(lines[i]);
    if (std::string_view(lines[i]).substr(indent.size()) != opening) continue;
    for (std::size_t j = i + 1; j < until; ++j) {
      if (lines[j] == indent + std::string(closing)) return {i, j};
    }
    throw std::runtime_error("\"" + std::string(opening) + "\" is never closed");
  }
  throw std::runtime_error("no \"" + std::string(opening) + "\" found");
}

Block FindComponent(const Lines& lines, std::string_view header) {
  return FindBlock(lines, 0, lines.size(), std::string(header) + " {", "}");
}

Lines Splice(const Lines& lines, Block block, const Lines& replacement, const std::string& indent) {
  Lines result(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(block.first));
  for (const std::string& line : replacement) result.push_back(line.empty() ? line : indent + line);
  result.insert(result.end(), lines.begin() + static_cast<std::ptrdiff_t>(block.last) + 1,
                lines.end());
  return result;
}

}  // namespace

std::string ReplaceComponent(std::string_view description, std::string_view header,
                             std::string_view component) {
  const Lines lines = SplitLines(description);
  const Block block = FindComponent(lines, header);
  return JoinLines(Splice(lines, block, SplitLines(component), Indentation(lines[block.first])));
}

std::string ReplaceBinaryProperty(std::string_view description, std::string_view header,
                                  std::string_view name, std::string_view holder) {
  const std::string opening = std::string(name) + " = (";
  const Lines lines = SplitLines(description);
  const Block owner = FindComponent(lines, header);
  const Block property = FindBlock(lines, owner.first + 1, owner.last, opening, ")");

  const Lines holderLines = SplitLines(holder);
  const Block source = FindBlock(holderLines, 1, holderLines.size(), opening, ")");
  const std::size_t sourceIndent = Indentation(holderLines[source.first]).size();
  Lines value;
  for (std::size_t i = source.first; i <= source.last; ++i) {
    value.push_back(holderLines[i].substr(std::min(sourceIndent, holderLines[i].size())));
  }
  return JoinLines(Splice(lines, property, value, Indentation(lines[property.first])));
}

}  // namespace skingen
