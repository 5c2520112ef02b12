#pragma once
// The command line prints JSON Lines through the operations layer's writer.

#include "app/json_line.h"

namespace salvor::cli {
using salvor::JsonLine;
using salvor::JsonQuote;
}  // namespace salvor::cli
