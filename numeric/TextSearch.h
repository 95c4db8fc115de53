#pragma once
// Two string utilities of the component library: the position of the n-th occurrence of a
// substring, and a one-character-at-a-time parser for names that may be enclosed in quotes.

#include <string>
#include <string_view>

#include "numeric/VkrBase.h"

// The exception of the library's string utilities; none of them raises it.
class EVKRStringlError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// 1-based position in MainStr of the Count-th occurrence of SubStr, the search starting at
// character max(StartIx, 1); occurrences do not overlap (each search starts after the previous
// occurrence's end). 0 when there are fewer than Count occurrences, when Count < 1 or when
// SubStr is empty. IgnoreCase compares ASCII letters without regard to case.
int NumberedPos(std::string_view SubStr, std::string_view MainStr, int StartIx, int Count,
                bool IgnoreCase);

// State of ParseQuotedName, kept by the caller between characters.
enum TQuotedStrState { vsStart, vs1stQuote, vsQuote, vsNormal, vsEnd };

// Feeds one character to the name parser. Returns true when CurrentName holds a complete name
// (State is then back at vsStart; the caller empties CurrentName before the next name). Blanks
// (codes up to 32) before a name are skipped; a name in QuoteChar keeps its blanks and ends at
// the closing quote (or at a control character right after the opening quote); a doubled quote
// right after the opening quote gives a literal quote character; an unquoted name ends at the
// first blank.
bool ParseQuotedName(char cc, char QuoteChar, std::string& CurrentName, TQuotedStrState& State);
