#include "platform/FindPattern.h"

#include <cstddef>
#include <cstdint>
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

std::vector<Step> translate(std::u16string_view mask)
{
    std::vector<Step> steps;
    steps.reserve(mask.size());
    for (std::size_t k = 0; k < mask.size(); ++k) {
        const char16_t c = mask[k];
        const char16_t next = k + 1 < mask.size() ? mask[k + 1] : u'\0';
        if (c == u'?' || c == u'>')
            steps.push_back({Token::DosQm, 0});
        else if (c == u'<' || (c == u'*' && next == u'.'))
            steps.push_back({Token::DosStar, 0});
        else if (c == u'*')
            steps.push_back({Token::Star, 0});
        else if (c == u'"' || (c == u'.' && (next == u'?' || next == u'*' || next == u'\0')))
            steps.push_back({Token::DosDot, 0});
        else
            steps.push_back({Token::Literal, fold(c)});
    }
    return steps;
}

}  // namespace

bool findPatternMatches(std::u16string_view mask, std::u16string_view name)
{
    const std::vector<Step> steps = translate(mask);
    const std::size_t p = steps.size();
    const std::size_t n = name.size();
    const std::size_t lastDot = name.rfind(u'.');

    // reach[k][i]: the first k steps can consume exactly the first i
    // characters. Filled step by step; names and masks are short.
    // A string rather than a vector: its storage is never null, which
    // g++ -O2 cannot prove for a vector and reports under -Wnull-dereference.
    std::string reach((p + 1) * (n + 1), '\0');
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

}  // namespace s::platform
