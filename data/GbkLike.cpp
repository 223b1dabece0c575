#include "data/GbkLike.h"

#include <sqlcipher/sqlite3.h>
#include <vector>

namespace velmora {

namespace {

// Length in bytes of the character at `i`: 2 for a GBK lead byte with a byte after it, else 1.
inline std::size_t charLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    return (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}

inline unsigned char foldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// One pattern element: a literal character, "_" or "%".
struct Token {
    enum Kind { Literal, One, Any } kind;
    std::string_view bytes;
};

std::vector<Token> tokenize(std::string_view pattern, int escape) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < pattern.size();) {
        std::size_t n = charLength(pattern, i);
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (n == 1 && escape != 0 && c == escape && i + 1 < pattern.size()) {
            std::size_t m = charLength(pattern, i + 1);
            tokens.push_back({Token::Literal, pattern.substr(i + 1, m)});
            i += 1 + m;
            continue;
        }
        if (n == 1 && c == '%') {
            if (tokens.empty() || tokens.back().kind != Token::Any)
                tokens.push_back({Token::Any, {}});
        } else if (n == 1 && c == '_') {
            tokens.push_back({Token::One, {}});
        } else {
            tokens.push_back({Token::Literal, pattern.substr(i, n)});
        }
        i += n;
    }
    return tokens;
}

inline bool literalAt(std::string_view text, std::size_t i, std::string_view lit) {
    std::size_t n = charLength(text, i);
    if (n != lit.size())
        return false;
    if (n == 1)
        return foldAscii(static_cast<unsigned char>(text[i])) == foldAscii(static_cast<unsigned char>(lit[0]));
    return text[i] == lit[0] && text[i + 1] == lit[1];
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    const unsigned char *pattern = sqlite3_value_text(argv[0]);
    const unsigned char *text = sqlite3_value_text(argv[1]);
    if (!pattern || !text)
        return; // NULL: the result is NULL
    int escape = 0;
    if (argc == 3) {
        const unsigned char *e = sqlite3_value_text(argv[2]);
        if (!e || sqlite3_value_bytes(argv[2]) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    std::string_view p(reinterpret_cast<const char *>(pattern), std::size_t(sqlite3_value_bytes(argv[0])));
    std::string_view t(reinterpret_cast<const char *>(text), std::size_t(sqlite3_value_bytes(argv[1])));
    sqlite3_result_int(ctx, gbkLike(p, t, escape) ? 1 : 0);
}

} // namespace

bool gbkLike(std::string_view pattern, std::string_view text, int escape) {
    std::vector<Token> tokens = tokenize(pattern, escape);
    // Greedy matching with a return to the last "%": linear in practice, never exponential.
    std::size_t ti = 0, pi = 0;
    std::size_t starToken = std::string_view::npos, starText = 0;
    while (ti < text.size()) {
        if (pi < tokens.size()) {
            const Token &tok = tokens[pi];
            if (tok.kind == Token::Any) {
                starToken = pi++;
                starText = ti;
                continue;
            }
            if (tok.kind == Token::One || literalAt(text, ti, tok.bytes)) {
                ti += charLength(text, ti);
                ++pi;
                continue;
            }
        }
        if (starToken == std::string_view::npos)
            return false;
        // Let the last "%" take one more character and try again from there.
        starText += charLength(text, starText);
        ti = starText;
        pi = starToken + 1;
    }
    while (pi < tokens.size() && tokens[pi].kind == Token::Any)
        ++pi;
    return pi == tokens.size();
}

void installGbkLike(sqlite3 *db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace velmora
