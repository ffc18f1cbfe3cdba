#pragma once
// The program's text resources read from the source tree, as natively built tests see them;
// under Wine the same files are compiled into the test program.
#include <fstream>
#include <iterator>
#include <string>

#include "platform/fake/fake_locale.h"

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
