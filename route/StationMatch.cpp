// SPDX-License-Identifier: GPL-3.0-or-later
// Which stations a typed text means: names folded to simplified characters and lower-case ASCII, and their
// pinyin, through ICU's transliterators.
#include "route/TransferIndex.h"

#include "text/Gbk.h"

#include <mutex>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unordered_map>

namespace velmora::route {

struct TransferIndex::Folds {
    std::once_flag folded, spelled;
    std::vector<std::string> names;            // simplified, ASCII lower-case, UTF-8
    std::vector<std::string> pinyin, initials; // "jiefangguangchang", "jfgc"
    std::vector<std::string> starts;           // per pinyin letter: 1 where a syllable starts
};

TransferIndex::TransferIndex() : folds_(std::make_unique<Folds>()) {}
TransferIndex::~TransferIndex() = default;
TransferIndex::TransferIndex(TransferIndex &&) noexcept = default;
TransferIndex &TransferIndex::operator=(TransferIndex &&) noexcept = default;

namespace {

std::unique_ptr<icu::Transliterator> transliterator(const char *id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    return U_SUCCESS(status) ? std::move(t) : nullptr;
}

std::string through(const icu::Transliterator *t, icu::UnicodeString text) {
    if (t)
        t->transliterate(text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

// The lower-case ASCII letters and digits of a spelling.
std::string letters(const std::string &spelled) {
    std::string out;
    for (char c : spelled)
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            out += c;
        else if (c >= 'A' && c <= 'Z')
            out += char(c - 'A' + 'a');
    return out;
}

// Appends a spelled piece: a syllable of its own, or more of the ASCII word before it.
void spell(const std::string &piece, bool syllable, std::string &full, std::string &initials, std::string &starts) {
    if (piece.empty())
        return;
    if (syllable)
        initials += piece[0];
    full += piece;
    starts += syllable ? '1' : '0';
    starts.append(piece.size() - 1, '0');
}

// Simplified characters, ASCII letters in lower case; one character at a time, through `cache`.
std::string folded(const icu::Transliterator *simplify, std::unordered_map<UChar32, std::string> &cache,
                   const std::string &utf8) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    std::string out;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (c < 0x80) {
            out += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            continue;
        }
        auto [it, added] = cache.try_emplace(c);
        if (added)
            it->second = through(simplify, icu::UnicodeString(c));
        out += it->second;
    }
    return out;
}

// Pinyin is tried for two letters or more: one letter is in nearly every spelled name.
bool lettersOnly(const std::string &s) {
    for (char c : s)
        if (!(c >= 'a' && c <= 'z'))
            return false;
    return s.size() >= 2;
}

// Full pinyin matches from the start of a syllable: "guangchang" finds 广场, "angchang" does not.
bool spelledFrom(const std::string &full, const std::string &starts, const std::string &wanted) {
    for (std::size_t at = full.find(wanted); at != std::string::npos; at = full.find(wanted, at + 1))
        if (starts[at] == '1')
            return true;
    return false;
}

} // namespace

const TransferIndex::Folds &TransferIndex::folds(bool pinyin) const {
    Folds &f = *folds_;
    std::call_once(f.folded, [this, &f] {
        // Each character simplified once: folding whole names one by one costs several times as much.
        auto simplify = transliterator("Traditional-Simplified");
        std::unordered_map<UChar32, std::string> simple;
        f.names.reserve(names_.size());
        for (const std::string &name : names_)
            f.names.push_back(folded(simplify.get(), simple, gbkToUtf8(name)));
    });
    if (pinyin)
        std::call_once(f.spelled, [&f] {
            // One character at a time, each spelled once: spelling whole names costs fifteen times as much.
            auto latin = transliterator("Han-Latin; Latin-ASCII");
            std::unordered_map<UChar32, std::string> syllables;
            for (const std::string &name : f.names) {
                std::string full, initials, starts;
                bool inWord = false;
                const icu::UnicodeString text = icu::UnicodeString::fromUTF8(name);
                for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
                    const UChar32 c = text.char32At(i);
                    if (c < 0x80) {
                        const bool alnum = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
                        if (alnum)
                            spell(std::string(1, char(c)), !inWord, full, initials, starts);
                        inWord = alnum;
                        continue;
                    }
                    inWord = false;
                    UErrorCode status = U_ZERO_ERROR;
                    if (uscript_getScript(c, &status) != USCRIPT_HAN)
                        continue;
                    auto [it, added] = syllables.try_emplace(c);
                    if (added)
                        it->second = letters(through(latin.get(), icu::UnicodeString(c)));
                    spell(it->second, true, full, initials, starts);
                }
                f.pinyin.push_back(std::move(full));
                f.initials.push_back(std::move(initials));
                f.starts.push_back(std::move(starts));
            }
        });
    return f;
}

std::vector<int> TransferIndex::matchStations(std::string_view typed) const {
    const std::string_view text = trimmedBytes(typed);
    if (text.empty() || names_.empty())
        return {};
    static const auto simplify = [] {
        // A transliterator is not safe to share between threads: one per call is cheap next to the scan.
        return transliterator("Traditional-Simplified");
    };
    std::unordered_map<UChar32, std::string> cache;
    const std::string wanted = folded(simplify().get(), cache, gbkToUtf8(std::string(text)));
    const bool spelled = lettersOnly(wanted);
    const Folds &f = folds(spelled);
    // Exact names first, then names equal once folded, then names containing the text.
    std::vector<int> exact, same, containing;
    for (int s = 0; s < int(names_.size()); ++s) {
        const std::string &name = f.names[std::size_t(s)];
        if (names_[std::size_t(s)] == text)
            exact.push_back(s);
        else if (name == wanted)
            same.push_back(s);
        else if (name.find(wanted) != std::string::npos ||
                 (spelled && (spelledFrom(f.pinyin[std::size_t(s)], f.starts[std::size_t(s)], wanted) ||
                              f.initials[std::size_t(s)].find(wanted) != std::string::npos)))
            containing.push_back(s);
    }
    exact.insert(exact.end(), same.begin(), same.end());
    exact.insert(exact.end(), containing.begin(), containing.end());
    return exact;
}

} // namespace velmora::route
