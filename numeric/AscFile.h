#pragma once
// The ASC table file and two file-name helpers.
//
// An ASC file is text whose lines end in CR LF:
//   1  the comment (one whole line)
//   2  the number of columns (an integer; the rest of the line is ignored)
//   3  the number of rows (likewise)
//   4  three flags, each TRUE or FALSE in either case, blanks between them optional:
//      ClInf (every row starts with an attribute number), NamFeat (column names follow the
//      header), NamObj (every row has a name)
// then the column names when NamFeat, then the rows: [attribute] [name] one number per column.
// Numbers are decimal text with a point (sign, digits, point, exponent) and are separated by
// any white space, line ends included, so a row may span lines. A name is a word, or text in
// double quotes that may hold blanks.
//
// A header line ends at a CR (an LF right after it belongs to the line end), so a file with LF
// line ends reads as one long first line.

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "numeric/VkrBase.h"

// A file that cannot be opened. The message names the file.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The exception of the file helpers; none of them raises it (a file that cannot be opened
// raises EInOutError).
class EVKRFileSysError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Instring without the blanks (only the character 32) at its start and end.
std::string StripLTBlanks(std::string_view Instring);

// FName with its file name cut at the file name's first '.': "data/run.2024.asc" gives
// "data/run". Folders are separated by '/'; points in folder names stay.
std::string StripExtension(std::string_view FName);

// Results of the header reader.
inline constexpr int kAscOk = 0;
inline constexpr int kAscBadColumnCount = -1;
inline constexpr int kAscBadRowCount = -2;
inline constexpr int kAscBadFlag = -3;
inline constexpr int kAscNotCrLfOrEmpty = -4;  // LF in the comment line; a table without cells
inline constexpr int kAscBadAttribute = -5;
inline constexpr int kAscBadNumber = -6;

// Why FName was not loaded, for a failing result above: "Cannot load file \"FName\": " and the
// failure, ended by a point. Empty for kAscOk.
std::string AscLoadMessage(const std::string& FName, int result);

// The four header lines of an ASC file.
struct TAscHeader {
    std::string Comment;  // as read
    int NFeat = 0;        // columns
    int NObj = 0;         // rows
    bool ClInf = false;
    bool NamFeat = false;
    bool NamObj = false;
};

// Reads the header of FName. Returns 0, or the first failure: -4 an LF inside the comment line,
// -1 the column count unreadable, -2 the row count unreadable, -3 a flag word that is neither
// TRUE nor FALSE (the flags after it stay false). The outputs are reset first (empty, 0, false)
// and hold what was read up to the failure. A file that cannot be opened raises EInOutError.
int ReadHeaderOfASC(const std::string& FName, std::string& Comment, int& NFeat, int& NObj,
                    bool& ClInf, bool& NamFeat, bool& NamObj);

// Sequential reader of one ASC file: the header, then names and numbers in the order they come.
class TAscReader {
public:
    // Opens the file; EInOutError naming it when that fails or the name is a folder's.
    explicit TAscReader(const std::string& FName);

    // Size of the file in bytes.
    std::uint64_t FileSize() const { return FSize; }
    // The four header lines into h (reset first); the result as ReadHeaderOfASC.
    int ReadHeader(TAscHeader& h);
    // The next white-space separated word as a decimal number. False when the input has ended
    // or the word is no number (nan, inf, a decimal comma, letters) or lies beyond the range of
    // double; a number too small for double reads as 0.
    bool ReadNumber(double& value);
    // The next number rounded to the nearest integer (halves to even), its low 8 bits. False as
    // ReadNumber, and for a number beyond the 64-bit integers (1e30).
    bool ReadAttribute(std::uint8_t& value);
    // The next name: blanks and control characters before it are skipped; a name in double
    // quotes keeps its blanks, a word ends at the first blank or control character. A quote
    // that never closes takes in the rest of the file.
    std::string ReadName();

private:
    int Peek() { return FBuf.sgetc(); }
    int Next() { return FBuf.sbumpc(); }
    // One header line without its end; a line ends at CR, and an LF right after a CR is part of
    // the line end.
    std::string ReadLine();
    // The next word: white space skipped, then characters up to the next white space. Empty
    // when the input has ended.
    std::string ReadWord();

    std::filebuf FBuf;
    std::uint64_t FSize = 0;
};
