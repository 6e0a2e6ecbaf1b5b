#include "platform/FindPattern.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace s::platform {

namespace {

enum class Token : std::uint8_t { Literal, Star, DosStar, DosQm, DosDot };

struct Step {
    Token token;
    char16_t literal;
};

char16_t fold(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Masks and names this long or shorter are matched without allocating: the
// rule files' and the catalogue's all are.
constexpr std::size_t kShort = 64;

// Writes the mask's steps to `steps` (room for mask.size()).
void translate(std::u16string_view mask, Step* steps)
{
    for (std::size_t k = 0; k < mask.size(); ++k) {
        const char16_t c = mask[k];
        const char16_t next = k + 1 < mask.size() ? mask[k + 1] : u'\0';
        if (c == u'?' || c == u'>')
            steps[k] = {Token::DosQm, 0};
        else if (c == u'<' || (c == u'*' && next == u'.'))
            steps[k] = {Token::DosStar, 0};
        else if (c == u'*')
            steps[k] = {Token::Star, 0};
        else if (c == u'"' || (c == u'.' && (next == u'?' || next == u'*' || next == u'\0')))
            steps[k] = {Token::DosDot, 0};
        else
            steps[k] = {Token::Literal, fold(c)};
    }
}

bool run(const Step* steps, std::size_t p, std::u16string_view name, char* reach)
{
    const std::size_t n = name.size();
    const std::size_t lastDot = name.rfind(u'.');
    // reach[k][i]: the first k steps can consume exactly the first i
    // characters. Filled step by step.
    auto at = [&](std::size_t k, std::size_t i) -> char& {
        return reach[k * (n + 1) + i];
    };
    at(0, 0) = 1;
    for (std::size_t k = 0; k < p; ++k) {
        const Step& step = steps[k];
        for (std::size_t i = 0; i <= n; ++i) {
            if (!at(k, i))
                continue;
            switch (step.token) {
            case Token::Literal:
                if (i < n && fold(name[i]) == step.literal)
                    at(k + 1, i + 1) = 1;
                break;
            case Token::Star:
                for (std::size_t j = i; j <= n; ++j)
                    at(k + 1, j) = 1;
                break;
            case Token::DosStar: {
                // Up to the name's last dot when that lies ahead, else to the end.
                const std::size_t limit = lastDot != std::u16string_view::npos && lastDot >= i ? lastDot : n;
                for (std::size_t j = i; j <= limit; ++j)
                    at(k + 1, j) = 1;
                break;
            }
            case Token::DosQm:
                if (i < n && name[i] != u'.')
                    at(k + 1, i + 1) = 1;
                else
                    at(k + 1, i) = 1;
                break;
            case Token::DosDot:
                if (i < n && name[i] == u'.')
                    at(k + 1, i + 1) = 1;
                else if (i == n)
                    at(k + 1, i) = 1;
                break;
            }
        }
    }
    return at(p, n) != 0;
}

}  // namespace

bool findPatternMatches(std::u16string_view mask, std::u16string_view name)
{
    // The literal characters before the first wildcard must start the name:
    // most names a listing offers fail here, without the table below.
    std::size_t literal = 0;
    while (literal < mask.size()) {
        const char16_t c = mask[literal];
        if (c == u'*' || c == u'?' || c == u'<' || c == u'>' || c == u'"' || c == u'.')
            break;
        if (literal >= name.size() || fold(name[literal]) != fold(c))
            return false;
        ++literal;
    }
    const std::size_t p = mask.size();
    const std::size_t cells = (p + 1) * (name.size() + 1);
    if (p <= kShort && cells <= kShort * kShort) {
        Step steps[kShort];
        char reach[kShort * kShort];
        std::memset(reach, 0, cells);
        translate(mask, steps);
        return run(steps, p, name, reach);
    }
    std::vector<Step> steps(p);
    translate(mask, steps.data());
    // A string rather than a vector: its storage is never null, which
    // g++ -O2 cannot prove for a vector and reports under -Wnull-dereference.
    std::string reach(cells, '\0');
    return run(steps.data(), p, name, reach.data());
}

}  // namespace s::platform
