#include "numeric/AscFile.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "numeric/Rounding.h"
#include "numeric/TextSearch.h"

namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool IsWhite(int c) { return c != kEof && static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Steps over the digits from i; returns how many there were.
std::size_t SkipDigits(std::string_view s, std::size_t& i)
{
    const std::size_t from = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i - from;
}

// True for decimal text: an optional sign, digits with an optional point (at least one digit),
// and an optional exponent of "E" or "e", an optional sign and digits. Nothing else.
bool IsDecimalText(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = SkipDigits(s, i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits += SkipDigits(s, i);
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (SkipDigits(s, i) == 0) return false;
    }
    return i == s.size();
}

// The value of decimal text; false beyond the range of double. Too small a number gives 0.
bool DecimalValue(std::string_view s, double& value)
{
    if (!IsDecimalText(s)) return false;
    if (s.front() == '+') s.remove_prefix(1);  // from_chars takes no plus sign
    const char* end = s.data() + s.size();
    if (std::from_chars(s.data(), end, value).ec == std::errc()) return true;
    // Out of double's range: over- or underflow? Extended precision reaches far enough to tell.
    long double wide = 0;
    if (std::from_chars(s.data(), end, wide).ec != std::errc()) return false;
    if (std::fabs(wide) > static_cast<long double>(std::numeric_limits<double>::max()))
        return false;
    value = static_cast<double>(wide);
    return true;
}

// A whole integer word of 32 bits: an optional sign and digits.
bool IntegerValue(std::string_view s, int& value)
{
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (s.empty() || !IsDigit(s.front())) return false;
    }
    const char* end = s.data() + s.size();
    int n = 0;
    const auto r = std::from_chars(s.data(), end, n);
    if (r.ec != std::errc() || r.ptr != end) return false;
    value = n;
    return true;
}

// The first word of a header line (white space before it skipped).
std::string_view FirstWord(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && IsWhite(static_cast<unsigned char>(line[i]))) ++i;
    std::size_t j = i;
    while (j < line.size() && !IsWhite(static_cast<unsigned char>(line[j]))) ++j;
    return line.substr(i, j - i);
}

std::string Upper(std::string_view s)
{
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// Takes one flag word off the front of rest (upper case, stripped): TRUE or FALSE.
bool TakeFlag(std::string& rest, bool& flag)
{
    if (rest.compare(0, 4, "TRUE") == 0) {
        flag = true;
        rest = StripLTBlanks(std::string_view(rest).substr(4));
        return true;
    }
    if (rest.compare(0, 5, "FALSE") == 0) {
        flag = false;
        rest = StripLTBlanks(std::string_view(rest).substr(5));
        return true;
    }
    return false;
}

}  // namespace

std::string StripLTBlanks(std::string_view Instring)
{
    const std::size_t first = Instring.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = Instring.find_last_not_of(' ');
    return std::string(Instring.substr(first, last - first + 1));
}

std::string StripExtension(std::string_view FName)
{
    const std::size_t slash = FName.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t point = FName.find('.', nameStart);
    return std::string(FName.substr(0, point));
}

std::string AscLoadMessage(const std::string& FName, int result)
{
    const char* why = nullptr;
    switch (result) {
    case kAscOk: return {};
    case kAscBadColumnCount: why = "the number of columns in line 2 cannot be read"; break;
    case kAscBadRowCount: why = "the number of rows in line 3 cannot be read"; break;
    case kAscBadFlag: why = "line 4 holds a word other than TRUE or FALSE"; break;
    case kAscNotCrLfOrEmpty: why = "its lines do not end in CR LF, or its table has no columns or no rows"; break;
    case kAscBadAttribute: why = "a row's attribute is not a number"; break;
    case kAscBadNumber: why = "a number is unreadable or missing"; break;
    default: why = "it is not an ASC table file"; break;
    }
    return "Cannot load file \"" + FName + "\": " + why + ".";
}

int ReadHeaderOfASC(const std::string& FName, std::string& Comment, int& NFeat, int& NObj,
                    bool& ClInf, bool& NamFeat, bool& NamObj)
{
    TAscReader reader(FName);
    TAscHeader h;
    const int result = reader.ReadHeader(h);
    Comment = h.Comment;
    NFeat = h.NFeat;
    NObj = h.NObj;
    ClInf = h.ClInf;
    NamFeat = h.NamFeat;
    NamObj = h.NamObj;
    return result;
}

TAscReader::TAscReader(const std::string& FName)
{
    int err = 0;
    std::error_code ec;
    if (std::filesystem::is_directory(FName, ec))
        err = EISDIR;  // a folder opens like a file here but fails on the first read
    else if (!FBuf.open(FName, std::ios::in | std::ios::binary))
        err = errno;
    if (err != 0) throw EInOutError("Cannot open file \"" + FName + "\": " + std::strerror(err) + ".");
    const auto end = FBuf.pubseekoff(0, std::ios::end, std::ios::in);
    FSize = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    FBuf.pubseekpos(0, std::ios::in);
}

int TAscReader::ReadHeader(TAscHeader& h)
{
    h = TAscHeader{};
    h.Comment = ReadLine();
    if (h.Comment.find('\n') != std::string::npos) return kAscNotCrLfOrEmpty;
    if (!IntegerValue(FirstWord(ReadLine()), h.NFeat)) return kAscBadColumnCount;
    if (!IntegerValue(FirstWord(ReadLine()), h.NObj)) return kAscBadRowCount;
    std::string rest = StripLTBlanks(Upper(ReadLine()));
    for (bool* flag : {&h.ClInf, &h.NamFeat, &h.NamObj})
        if (!TakeFlag(rest, *flag)) return kAscBadFlag;
    return kAscOk;
}

std::string TAscReader::ReadLine()
{
    std::string line;
    for (int c = Next(); c != kEof && c != '\r'; c = Next()) line += static_cast<char>(c);
    if (Peek() == '\n') Next();
    return line;
}

std::string TAscReader::ReadWord()
{
    while (IsWhite(Peek())) Next();
    std::string word;
    while (Peek() != kEof && !IsWhite(Peek())) word += static_cast<char>(Next());
    return word;
}

bool TAscReader::ReadNumber(double& value)
{
    return DecimalValue(ReadWord(), value);
}

bool TAscReader::ReadAttribute(std::uint8_t& value)
{
    double x = 0;
    if (!ReadNumber(x)) return false;
    const auto n = oxw::numeric::RoundChecked<std::int64_t>(x);
    if (!n) return false;
    value = static_cast<std::uint8_t>(static_cast<std::uint64_t>(*n) & 0xFFu);
    return true;
}

std::string TAscReader::ReadName()
{
    std::string name;
    TQuotedStrState state = vsStart;
    for (int c = Next(); c != kEof; c = Next())
        if (ParseQuotedName(static_cast<char>(c), '"', name, state)) break;
    return name;
}
