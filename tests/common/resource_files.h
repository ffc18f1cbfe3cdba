#pragma once
// The program's text resources read from the source tree: natively built tests hand them to a
// fake; under Wine the same files are compiled into the test program.
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_resources.h"
#include "support/utf8.h"

inline std::string ReadResourceFile(const std::string& relative) {
  std::ifstream file(std::string(TARNWICK_RESOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void AddProgramResources(platform::FakeResources& resources) {
  resources.Items = {{L"NAME_WHITE", ReadResourceFile("lists/name_white.txt")},
                     {L"NAME_BLACK", ReadResourceFile("lists/name_black.txt")},
                     {L"FILE_WHITE", ReadResourceFile("lists/file_white.txt")},
                     {L"TRANSLATE", ReadResourceFile("translate.txt")}};
}

// The rows of the translation table as the file holds them: blocks of "code=text" lines parted
// by empty lines, each block one row of (code, text) cells in file order.
using TranslationRow = std::vector<std::pair<std::wstring, std::wstring>>;
inline std::vector<TranslationRow> ReadTranslationRows() {
  std::vector<TranslationRow> rows(1);
  std::istringstream file(ReadResourceFile("translate.txt"));
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      if (!rows.back().empty()) rows.emplace_back();
      continue;
    }
    rows.back().emplace_back(WideFromUtf8(line.substr(0, equals)), WideFromUtf8(line.substr(equals + 1)));
  }
  if (rows.back().empty()) rows.pop_back();
  return rows;
}
