#pragma once
// Addresses from the network are handed to the shell by a program that runs elevated: only an
// absolute http or https address may go, never a file, a share or another scheme's command.
#include <string_view>

// Whether `address` is an absolute "http://" or "https://" address (scheme in any case) with a
// host, and holds no control character or blank anywhere.
bool IsWebAddress(std::wstring_view address);
