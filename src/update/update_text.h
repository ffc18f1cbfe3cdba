#pragma once
// The fixed texts of the update notification, a table of their own in the languages it covers.
#include <string>
#include <string_view>

// Kind 0 the dialog's question, 1 the status-bar notice, 2 the Yes and 3 the No button's caption,
// in `language` ("ko", "ja", "zh", "de", "ru", "it", "fr"; English for any other); a kind outside
// 0 to 3 is empty.
std::wstring UpdateText(int kind, std::wstring_view language);
