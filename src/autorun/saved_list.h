#pragma once
// The saved list: UTF-8 with a byte-order mark, one line From|Caption|Target per entry, every
// line ending in CR LF. Nothing is quoted: a "|" inside a field is written as it is.
#include <string>

#include "autorun/autorun_info.h"

std::string FormatSavedList(const AutorunList& list);
