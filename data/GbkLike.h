// SPDX-License-Identifier: GPL-3.0-or-later
// LIKE over GBK text. The engine's own LIKE reads text as UTF-8, so in GBK text it can run a character's
// bytes into the next one and miss a substring that is plainly there; every connection replaces it with this.
#pragma once

#include <string_view>

struct sqlite3;

namespace velmora {

// `text` LIKE `pattern`: "%" matches any run of characters, "_" one character (one byte, or two for a GBK
// double-byte character), ASCII letters match without regard to case, `escape` (0 for none) makes the next
// pattern character literal. Matching is by whole characters, so a match never starts inside a character.
bool gbkLike(std::string_view pattern, std::string_view text, int escape = 0);

// Installs gbkLike as the connection's like(X, Y) and like(X, Y, Z).
void installGbkLike(sqlite3 *db);

} // namespace velmora
