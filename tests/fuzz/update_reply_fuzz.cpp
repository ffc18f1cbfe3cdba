// Server replies of any content, read for the update members: nothing crashes or hangs, and no
// member is longer than the reply it was cut from.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "support/utf8.h"
#include "update/reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = WideFromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const UpdateReply reply = ReadUpdateReply(text);
  for (const std::wstring* member :
       {&reply.update, &reply.notify, &reply.style, &reply.text, &reply.flag, &reply.url}) {
    if (member->size() > text.size()) __builtin_trap();
  }
  return 0;
}
