#include "midi/NoteString.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>

namespace oxw::midi {

namespace {

constexpr int kPercussionChannel = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole decimal 32-bit integer (optional minus sign); nothing for any other text.
std::optional<int> Decimal(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Trimmed, upper-cased and without blanks.
std::string Normalised(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    std::string result;
    for (char c : text.substr(first, last - first))
        if (c != ' ') result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

struct Token {
    enum Kind { Invalid, Note, Instrument } kind = Invalid;
    std::int64_t value = 0;
};

class NoteStringParser {
public:
    NoteStringParser(const NoteStringStart& start, std::vector<event>& data)
        : start_(start), data_(data), octave_(start.Octave), percussion_(start.Instrument),
          channel_(start.Instrument >= 128 || start.PlayChannel == kPercussionChannel ? kPercussionChannel
                                                                                      : start.PlayChannel)
    {
    }

    void Item(std::string item);
    bool Result() const { return result_; }

private:
    std::string Complete(std::string item);
    Token ParseToken(const std::string& token);
    Token NoteName(std::string token);
    void Add(std::uint32_t at, sEvent kind, std::int64_t data, int channel);
    void Use(const Token& token);

    const NoteStringStart& start_;
    std::vector<event>& data_;
    std::uint32_t time_ = 0;
    std::int64_t lastStep_ = 0;
    std::int64_t lastDuration_ = -1;  // -1: none set yet
    int octave_;
    int percussion_;
    int channel_;
    bool result_ = true;
};

// step;token;duration, the missing parts taken from the last item.
std::string NoteStringParser::Complete(std::string item)
{
    if (!IsDigit(item[0]) && item[0] != ';') item.insert(0, ";");
    if (item[0] == ';') item.insert(0, std::to_string(lastStep_));
    if (std::count(item.begin(), item.end(), ';') == 1) item += ';';
    if (item.back() == ';') {
        if (lastDuration_ < 0) lastDuration_ = start_.Duration;
        item += std::to_string(lastDuration_);
    }
    return item;
}

Token NoteStringParser::NoteName(std::string token)
{
    if (token.size() == 1 || !IsDigit(token.back())) token += std::to_string(octave_);
    const std::size_t nameLength = IsDigit(token[1]) ? 1 : 2;
    const int semitone = NoteNameSemitone(std::string_view(token).substr(0, nameLength));
    const auto octave = Decimal(std::string_view(token).substr(nameLength));
    if (semitone < 0 || !octave || *octave < 0 || *octave > 10) return {};
    octave_ = static_cast<int>(*octave);
    return {Token::Note, semitone + 12 * *octave};
}

Token NoteStringParser::ParseToken(const std::string& token)
{
    if (token.empty()) return {};
    if (token[0] == 'I') {
        if (const auto program = Decimal(std::string_view(token).substr(1))) return {Token::Instrument, *program};
    }
    if (token[0] == 'N') {
        const auto note = Decimal(std::string_view(token).substr(1));
        if (note && *note >= 0 && *note <= 127) return {Token::Note, *note};
    }
    return NoteName(token);
}

void NoteStringParser::Add(std::uint32_t at, sEvent kind, std::int64_t data, int channel)
{
    data_.push_back({at, kind, static_cast<std::int32_t>(data), static_cast<TMGChannel>(channel)});
}

void NoteStringParser::Use(const Token& token)
{
    time_ += static_cast<std::uint32_t>(lastStep_);
    const bool melodicPlay = start_.PlayChannel != kPercussionChannel;
    if (token.kind == Token::Note) {
        const std::int64_t data = channel_ == kPercussionChannel && melodicPlay ? percussion_ : token.value;
        const auto duration = static_cast<std::uint32_t>(lastDuration_ < 0 ? start_.Duration : lastDuration_);
        Add(time_, seNoteOn, data, channel_);
        Add(time_ + duration, seNoteOff, data, channel_);
        return;
    }
    const int program = static_cast<int>(token.value);
    if (program >= 128) percussion_ = program;
    if (!melodicPlay) return;
    channel_ = program < 128 ? start_.PlayChannel : kPercussionChannel;
    Add(time_, seInstrument, program, channel_);
}

void NoteStringParser::Item(std::string item)
{
    if (item.empty()) return;  // an empty item plays nothing
    item = Complete(std::move(item));
    const std::size_t first = item.find(';');
    const std::size_t second = first == std::string::npos ? first : item.find(';', first + 1);
    const auto step = Decimal(std::string_view(item).substr(0, first));
    const bool stepValid = step && *step >= 0;
    if (stepValid) {
        lastStep_ = *step;
        if (*step != 0) result_ = false;
    }
    const std::string tokenText =
        first == std::string::npos ? std::string() : item.substr(first + 1, second - first - 1);
    const auto duration =
        second == std::string::npos ? std::nullopt : Decimal(std::string_view(item).substr(second + 1));
    const bool durationValid = duration && *duration >= 0;
    if (durationValid && *duration > 0) {
        if (lastDuration_ >= 0 && lastDuration_ != *duration) result_ = false;
        lastDuration_ = *duration;
    }
    const Token token = ParseToken(tokenText);
    const bool tokenValid = (token.kind == Token::Note && token.value <= 127) ||
                            (token.kind == Token::Instrument && token.value >= 0 && token.value <= 174);
    if (stepValid && durationValid && tokenValid) Use(token);
}

}  // namespace

int NoteNameSemitone(std::string_view name)
{
    std::size_t at = 0;
    while (at + 2 < NoteNumbers.size()) {
        const int semitone = (NoteNumbers[at] - '0') * 10 + (NoteNumbers[at + 1] - '0');
        std::size_t end = at + 2;
        while (end < NoteNumbers.size() && !IsDigit(NoteNumbers[end])) ++end;
        if (NoteNumbers.substr(at + 2, end - at - 2) == name) return semitone;
        at = end;
    }
    return -1;
}

bool ExtractNotes(std::string_view NoteString, const NoteStringStart& start, std::vector<event>& Data)
{
    const std::string text = Normalised(NoteString);
    if (text.empty()) return false;
    NoteStringParser parser(start, Data);
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        parser.Item(text.substr(from, comma - from));
        from = comma + 1;
    }
    EventSort(Data);
    return parser.Result();
}

void EventSort(std::vector<event>& Data)
{
    const auto rank = [](const event& e) { return e.dwEventType == seInstrument ? 0 : e.dwEventType == seNoteOff ? 1 : 2; };
    std::stable_sort(Data.begin(), Data.end(), [&](const event& a, const event& b) {
        if (a.dwEventStart != b.dwEventStart) return a.dwEventStart < b.dwEventStart;
        return rank(a) < rank(b);
    });
}

}  // namespace oxw::midi
