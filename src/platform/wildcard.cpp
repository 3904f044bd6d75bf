#include "platform/wildcard.h"

#include "platform/gbk.h"

namespace glyvora {

namespace {

bool sameChar(std::string_view p, std::size_t pi, std::string_view n, std::size_t ni, std::size_t len) {
    if (len == 2) return p[pi] == n[ni] && p[pi + 1] == n[ni + 1];
    return gbk::foldCase(static_cast<unsigned char>(p[pi])) ==
           gbk::foldCase(static_cast<unsigned char>(n[ni]));
}

bool match(std::string_view p, std::size_t pi, std::string_view n, std::size_t ni) {
    // Iterative glob with one backtrack point, stepping over double-byte characters whole.
    std::size_t starP = std::string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
            continue;
        }
        const std::size_t nl = gbk::charLength(n, ni);
        if (pi < p.size()) {
            const std::size_t pl = gbk::charLength(p, pi);
            if ((p[pi] == '?' && pl == 1) || (pl == nl && sameChar(p, pi, n, ni, nl))) {
                pi += (p[pi] == '?' && pl == 1) ? 1 : pl;
                ni += nl;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        pi = starP + 1;
        starN += gbk::charLength(n, starN);
        ni = starN;
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    // A trailing ".*" also matches a name without an extension ("a.*" matches "a").
    if (pi + 2 == p.size() && p[pi] == '.' && p[pi + 1] == '*') return true;
    return pi == p.size();
}

} // namespace

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    if (pattern == "*" || pattern == "*.*") return true;
    return match(pattern, 0, name, 0);
}

} // namespace glyvora
