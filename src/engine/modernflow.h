#pragma once
// A results page of either markup. The classic rules come first and, when they find a result
// with both addresses, the page is theirs alone. Only a page on which they find none is read
// by the rules for today's markup (modernscan.h), whose results then take the same steps as
// classic ones, from the duplicate test to the Result entry.
#include <functional>
#include <string>
#include <string_view>

#include "engine/modernscan.h"
#include "engine/scanflow.h"

namespace engine {

// rest: the page cut at the start marker, in 8-bit text. wholePage: the whole page in 8-bit
// text, asked for only when today's rules are needed (they read the page from its start, as a
// browser does, since the marker may stand anywhere in it). Returns true when a stop request
// ended the scan. A result of today's markup has, as its index on the page, its position
// among the page's readable results of that markup.
bool ScanEitherMarkup(std::string_view rest, const std::function<std::string()>& wholePage, ScanHooks& hooks,
                      const PageCharset& charset);

}  // namespace engine
