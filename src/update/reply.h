#pragma once
// The update members of the server's start-up reply. The reply is not parsed as JSON: each member
// is cut out of the text between its key's marker and the closing quote (or brace), key letters
// matched without regard to ASCII case, and its escapes decoded.
#include <string>
#include <string_view>

// The text between the first `startMark` and the following `endMark`, or empty. Marks match
// without regard to ASCII case; the result keeps the source's case. When `endMark` is a quote
// (", ' or "'), a quote with a backslash before it does not end the text.
std::wstring ExtractBetween(std::wstring_view source, std::wstring_view startMark, std::wstring_view endMark);

// The text with its JSON string escapes decoded: \" \' \/ \\ \b \f \n \r \t and \uXXXX (one UTF-16
// code unit each, so a surrogate pair gives one character). A backslash before any other
// character drops both, a backslash at the end is dropped. A \u not followed by four hexadecimal
// digits (fewer at the very end are read as they are) is dropped like an unknown escape, and the
// characters after it are kept as text.
std::wstring JsonUnescape(std::wstring_view text);

// The members "update", "notify" and the four strings of the object "info".
struct UpdateReply {
  std::wstring update;                 // download address of a newer version; non-empty is the offer
  std::wstring notify;                 // address of a notice
  std::wstring style, text, flag, url; // of "info"
};

UpdateReply ReadUpdateReply(std::wstring_view reply);
