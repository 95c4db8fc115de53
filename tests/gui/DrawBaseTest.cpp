// Drawing base: frames and marks pixel by pixel (positions worked out from the line rule: a line
// covers its start and leaves out its end pixel), and the change rules of the settings objects.
#include "controls/ChartSettings.h"
#include "controls/DrawBase.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "ChartTestSupport.h"
#include "platform/Canvas.h"

namespace {

using oxw::platform::Canvas;

constexpr TColor kBackground = 0x030201;
constexpr TColor kWhite = clWhite, kSilver = clSilver, kGray = clGray, kBlack = clBlack, kSimple = 0x1E140A;

QImage Blank(int w, int h)
{
    QImage im(w, h, QImage::Format_RGB32);
    im.fill(ToQColor(kBackground));
    return im;
}

// One character per pixel: w white, s silver, g grey, b black, x the simple frame colour,
// '.' background, '?' anything else.
std::string Picture(const QImage& im)
{
    const std::map<TColor, char> letters = {{kWhite, 'w'}, {kSilver, 's'}, {kGray, 'g'},
                                            {kBlack, 'b'}, {kSimple, 'x'}, {kBackground, '.'}};
    std::string s;
    for (int y = 0; y < im.height(); ++y) {
        for (int x = 0; x < im.width(); ++x) {
            const auto it = letters.find(FromQColor(QColor(im.pixel(x, y))));
            s += it == letters.end() ? '?' : it->second;
        }
        s += '\n';
    }
    return s;
}

// Outer ring O (top-left) and P (bottom-right), inner ring I and J, on (0, 0, 10, 10).
const std::string kRings = "OOOOOOOOOOO\n"
                           "OIIIIIIIIIP\n"
                           "OI.......JP\nOI.......JP\nOI.......JP\nOI.......JP\nOI.......JP\nOI.......JP\nOI.......JP\n"
                           "OJJJJJJJJJP\n"
                           "PPPPPPPPPPP\n";

std::string Rings(char o, char p, char i, char j)
{
    std::string s = kRings;
    for (char& c : s)
        c = c == 'O' ? o : c == 'P' ? p : c == 'I' ? i : c == 'J' ? j : c;
    return s;
}

TEST(DrawBase, FramesByStyle)
{
    std::string simpleRows = "xxxxxxxxxxx\n";
    for (int r = 1; r < 10; ++r)
        simpleRows += "x.........x\n";
    simpleRows += "xxxxxxxxxxx\n";
    std::string none;
    for (int r = 0; r <= 10; ++r)
        none += "...........\n";
    const struct { TFrameStyle fs; std::string picture; } cases[] = {
        {fsNone, none},
        {fsSimple, simpleRows},
        {fsLowered, Rings('g', 'w', 'b', 's')},
        {fsRaised, Rings('w', 'b', 's', 'g')},
        {fsEmbossed, Rings('w', 'g', 'g', 'w')},
        {fsEngraved, Rings('g', 'w', 'w', 'g')},
    };
    for (const auto& c : cases) {
        QImage im = Blank(11, 11);
        {
            Canvas cv(im);
            DrawFrame(cv, c.fs, 0, 0, 10, 10, kWhite, kSilver, kGray, kBlack, kSimple);
        }
        EXPECT_EQ(Picture(im), c.picture) << c.fs;
    }
}

int Count(const QImage& im, TColor c = kBlack)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += FromQColor(QColor(im.pixel(x, y))) == c ? 1 : 0;
    return n;
}

QImage Mark(int mark, TColor brush = kSilver)
{
    QImage im = Blank(21, 21);
    Canvas cv(im);
    cv.Pen.Color = kBlack;
    cv.Brush.Color = brush;
    DrawMarkOnCanvas(cv, static_cast<std::uint8_t>(mark), 10, 10);
    EXPECT_EQ(cv.Brush.Color, brush) << mark;  // restored after every shape
    return im;
}

TEST(DrawBase, MarksCoverTheirPixels)
{
    // Pixels in the pen colour, counted from the bit patterns and figure sizes: crosses 5, 9, 13;
    // squares 3 x 3, 5 x 5, 7 x 7 filled and their rings; the checkerboard 4 x 4 + 3 x 3; the
    // thick cross 4+6+5+3+5+6+4; lines of 3 or 7 and 8 pixels sharing their start.
    const std::map<int, int> counts = {{0, 1},   {1, 5},   {2, 9},   {3, 13},  {4, 5},   {5, 9},  {6, 13},
                                       {7, 9},   {8, 25},  {9, 49},  {10, 8},  {11, 16}, {12, 24}, {18, 25},
                                       {19, 12}, {20, 5},  {21, 7},  {22, 5},  {25, 33}, {37, 14}, {38, 17}};
    for (const auto& [mark, n] : counts)
        EXPECT_EQ(Count(Mark(mark)), n) << "mark " << mark;

    const QImage cross = Mark(1);
    for (const QPoint p : {QPoint(10, 9), QPoint(9, 10), QPoint(10, 10), QPoint(11, 10), QPoint(10, 11)})
        EXPECT_EQ(FromQColor(QColor(cross.pixel(p))), kBlack) << p.x() << "," << p.y();
    const QImage dot = Mark(0);
    EXPECT_EQ(FromQColor(QColor(dot.pixel(10, 10))), kBlack);

    // Mark 26: the disc inside (8, 8)-(13, 13), right and bottom edges outside, filled.
    const QImage disc = Mark(26);
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
            if (FromQColor(QColor(disc.pixel(x, y))) == kBlack) {
                EXPECT_TRUE(x >= 8 && x <= 12 && y >= 8 && y <= 12) << x << "," << y;
            }
        }
    }
    for (const QPoint p :
         {QPoint(10, 8), QPoint(8, 10), QPoint(10, 10), QPoint(12, 10), QPoint(10, 12), QPoint(11, 11)})
        EXPECT_EQ(FromQColor(QColor(disc.pixel(p))), kBlack) << p.x() << "," << p.y();

    // The half diamonds 29 and 30 are filled, 31 and 32 of the same sizes only outlined.
    EXPECT_GT(Count(Mark(29)), Count(Mark(31)));
    EXPECT_GT(Count(Mark(30)), Count(Mark(32)));
    EXPECT_EQ(Count(Mark(32), kSilver), 0);
    for (int mark = 0; mark < 48; ++mark)
        Mark(mark, 0x123456);  // every shape gives the brush colour back
}

// On a printer the pixel-pattern marks are lines in the order given (typed from the shapes' end
// points about (0, 0)); the other marks draw as on the screen.
TEST(DrawBase, PatternMarksAreLinesOnAPrinter)
{
    using Lines = std::vector<std::vector<QPoint>>;
    Lines checker;  // the cells whose column i and row j (1..7) are both odd or both even, as dots
    for (int i = 1; i <= 7; ++i)
        for (int j = 2 - i % 2; j <= 7; j += 2) checker.push_back({{i - 4, j - 4}, {i - 4, j - 4}});
    const std::pair<int, Lines> cases[] = {
        {1, {{{-2, 0}, {2, 0}}, {{0, -2}, {0, 2}}}}, {3, {{{-4, 0}, {4, 0}}, {{0, -4}, {0, 4}}}},
        {4, {{{-2, -2}, {2, 2}}, {{-2, 2}, {2, -2}}}}, {6, {{{-4, -4}, {4, 4}}, {{-4, 4}, {4, -4}}}},
        {18, checker}, {0, {}}, {10, {{{-1, -1}, {-1, 1}, {1, 1}, {1, -1}, {-1, -1}}}},
        {25, {{{-3, -3}, {3, 3}}, {{-3, -2}, {2, 3}}, {{-2, -3}, {3, 2}}, {{-3, 3}, {3, -3}}, {{-3, 2}, {2, -3}}, {{-2, 3}, {3, -2}}}}};
    charttest::PdfPage page(600);
    charttest::RecordingCanvas paper(page.writer);
    for (const auto& [mark, lines] : cases) {
        paper.Polylines.clear();
        DrawMarkOnCanvas(paper, static_cast<std::uint8_t>(mark), 0, 0);
        EXPECT_EQ(paper.Polylines, lines) << "mark " << mark;
    }
}

// Marks from 48 ('0') on are their character, centred; 47 is still a shape.
TEST(DrawBase, CharacterMarksAreCentredText)
{
    for (int mark : {47, 48, 65}) {
        QImage im = Blank(40, 40), expected = Blank(40, 40);
        const QString text(QChar::fromLatin1(static_cast<char>(mark)));
        {
            Canvas cv(im);
            DrawMarkOnCanvas(cv, static_cast<std::uint8_t>(mark), 20, 20);
        }
        {
            Canvas cv(expected);
            cv.TextOut(20 - cv.TextWidth(text) / 2, 20 - cv.TextHeight(text) / 2, text);
        }
        EXPECT_EQ(im == expected, mark >= 48) << mark;
        EXPECT_NE(Count(im), 0) << mark;
    }
}

TEST(DrawBase, SettingsObjectsReportChanges)
{
    int events = 0;
    TCrossHair cross;
    cross.OnChange = [&] { ++events; };
    for (const auto& [in, kept] : {std::pair{17, 16}, {0, 1}, {16, 16}, {1, 1}}) {  // layers 1..16
        cross.SetLayer(in);
        EXPECT_EQ(cross.Layer(), kept) << in;
    }
    EXPECT_EQ(events, 4);
    cross.SetPosX(1.5);
    cross.SetLineWid(3);
    EXPECT_EQ(events, 6);

    events = 0;
    TCustomTextLabel label;
    label.OnChange = [&] { ++events; };
    label.SetLayer(0);
    label.SetLayer(17);
    EXPECT_EQ(label.Layer(), 1);
    EXPECT_EQ(events, 0);
    label.SetLayer(16);
    label.SetCaption("x");
    EXPECT_EQ(label.Layer(), 16);
    EXPECT_EQ(events, 2);

    // DateOrder and TimeFormat fire on every assignment, the others only on a change.
    TDTLabel format;
    format.SetDateSeparator('-');
    format.OnChange = [&] { ++events; };
    const struct { const char* what; std::function<void()> set; int fired; } cases[] = {
        {"same separator", [&] { format.SetDateSeparator('-'); }, 0},
        {"new separator", [&] { format.SetDateSeparator('/'); }, 1},
        {"same time separator", [&] { format.SetTimeSeparator(format.TimeSeparator()); }, 0},
        {"same year length", [&] { format.SetYearLength(format.YearLength()); }, 0},
        {"same month name", [&] { format.SetMonthName(format.MonthName()); }, 0},
        {"same date for time", [&] { format.SetDateForTime(format.DateForTime()); }, 0},
        {"same date order", [&] { format.SetDateOrder(format.DateOrder()); }, 1},
        {"same time format", [&] { format.SetTimeFormat(format.TimeFormat()); }, 1},
        {"new year length", [&] { format.SetYearLength(ylYY); }, 1},
    };
    for (const auto& c : cases) {
        events = 0;
        c.set();
        EXPECT_EQ(events, c.fired) << c.what;
    }
}

}  // namespace
