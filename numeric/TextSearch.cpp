#include "numeric/TextSearch.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string_view s)
{
    std::string u(s);
    std::transform(u.begin(), u.end(), u.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

// The state after character cc, appending it to the name where the parser keeps it.
TQuotedStrState NextState(char cc, char quote, std::string& name, TQuotedStrState state)
{
    switch (state) {
        case vsStart:
            if (IsBlank(cc)) return vsStart;
            if (cc == quote) return vs1stQuote;
            name += cc;
            return vsNormal;
        case vs1stQuote:
            if (IsControl(cc)) return vsEnd;
            name += cc;  // a doubled quote gives the quote character itself
            return cc == quote ? vsNormal : vsQuote;
        case vsQuote:
            if (cc == quote && !IsBlank(cc)) return vsEnd;
            name += cc;
            return vsQuote;
        case vsNormal:
            if (IsBlank(cc)) return vsEnd;
            if (cc == quote) return vs1stQuote;
            name += cc;
            return vsNormal;
        case vsEnd:
            break;
    }
    return vsStart;
}

}  // namespace

int NumberedPos(std::string_view SubStr, std::string_view MainStr, int StartIx, int Count,
                bool IgnoreCase)
{
    if (Count < 1 || SubStr.empty()) return 0;
    std::string sub(SubStr), main(MainStr);
    if (IgnoreCase) {
        sub = Upper(SubStr);
        main = Upper(MainStr);
    }
    std::size_t from = static_cast<std::size_t>(std::max(StartIx, 1) - 1);
    std::size_t at = std::string::npos;
    for (int n = 0; n < Count; ++n) {
        if (from > main.size()) return 0;
        at = main.find(sub, from);
        if (at == std::string::npos) return 0;
        from = at + sub.size();
    }
    return static_cast<int>(at) + 1;
}

bool ParseQuotedName(char cc, char QuoteChar, std::string& CurrentName, TQuotedStrState& State)
{
    const TQuotedStrState next = NextState(cc, QuoteChar, CurrentName, State);
    if (next == vsEnd) {
        State = vsStart;
        return true;
    }
    State = next;
    return false;
}
