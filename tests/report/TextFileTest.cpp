// The writer of every output file: every write, flush and close is checked, the first failure
// is kept with the system's reason, and the file's later writes are dropped; on /dev/full (every
// write fails), on a sink that takes a number of bytes, on a mapped file whose next step cannot
// be reserved, and on a file that is not open.
#include "app/report/TextFile.h"
#include "support/FailingStreams.h"
#include "support/TempDir.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace oxw::report {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kFull = "No space left on device";

TEST(TextFile, FirstFailureIsKeptWithTheSystemsReason) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    struct Case {
        const char* name;
        std::optional<std::size_t> budget;  // bytes the sink takes; none: /dev/full
        std::string text;                   // written as one line
        bool failsAtWrite;                  // more than the 64 KB buffer: the write itself fails
        std::string onDisk;
    };
    const std::string big(70000, 'x');
    const Case cases[] = {
        {"every write fails", std::nullopt, "abc", false, ""},
        {"the disk fills inside the line", 10, "0123456789ABC", false, "0123456789"},
        {"the disk fills at the line end", 13, "0123456789ABC", false, "0123456789ABC"},
        {"a write larger than the buffer", 100, big, true, big.substr(0, 100)},
    };
    // A file asked to be mapped that cannot be (a device, a sink) is written buffered.
    for (const TextFile::Mode mode : {TextFile::Mode::Buffered, TextFile::Mode::Mapped}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << (mode == TextFile::Mode::Mapped ? ", mapped" : ""));
            test::TempDir dir{"oxw-textfile"};
            const std::string path = c.budget ? (dir / "out.dvk").string() : "/dev/full";
            TextFile f;
            if (c.budget) {
                f.Create(path, [&](const std::string& p) { return test::OpenFailingAfter(p, *c.budget); },
                         TextFile::kDefaultBufferBytes, mode);
            } else {
                f.Create(path, nullptr, TextFile::kDefaultBufferBytes, mode);
            }
            EXPECT_FALSE(f.IsMapped());
            f.WriteLine(c.text);
            EXPECT_EQ(f.Failed(), c.failsAtWrite);
            EXPECT_FALSE(f.Flush());
            const std::string failure = "Cannot write file \"" + path + "\": " + kFull;
            EXPECT_EQ(f.Failure(), failure);
            // Later writes are dropped, the failure stays through the close and after it.
            f.WriteLine("later");
            EXPECT_FALSE(f.Flush());
            EXPECT_FALSE(f.Close());
            EXPECT_FALSE(f.IsOpen());
            EXPECT_FALSE(f.Flush());
            EXPECT_EQ(f.Failure(), failure);
            if (c.budget) {
                EXPECT_EQ(ReadAll(path), c.onDisk);
            }
            // A new file forgets the failure.
            f.Create((dir / "next.dvk").string());
            EXPECT_FALSE(f.Failed());
            f.WriteLine("ok");
            EXPECT_TRUE(f.Close());
            EXPECT_EQ(ReadAll((dir / "next.dvk").string()), "ok\r\n");
        }
    }
}

TEST(TextFile, SinkWithRoomAndFileNotOpenFailNothing) {
    test::TempDir dir{"oxw-textfile"};
    const std::string path = (dir / "out.dvk").string();
    TextFile f;
    f.Create(path, [](const std::string& p) { return test::OpenFailingAfter(p, 14); });
    f.WriteLine("");
    f.Write("0123456789");
    f.WriteLine("");
    EXPECT_TRUE(f.Flush());
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(ReadAll(path), "\r\n0123456789\r\n");
    EXPECT_EQ(f.Failure(), "");
    // Writes to a file that is not open are dropped without a failure.
    TextFile closed;
    closed.WriteLine("dropped");
    EXPECT_TRUE(closed.Flush());
    EXPECT_TRUE(closed.Close());
    EXPECT_FALSE(closed.Failed());
    // A file that cannot be created is reported at once, with its name.
    EXPECT_THROW(closed.Create((dir / "missing" / "x.dvk").string()), std::runtime_error);
}

// A descriptor that takes part of a text: the rest is written on until the system refuses, and
// that refusal is the failure (a full pipe that does not wait).
TEST(TextFile, PartWrittenTextIsWrittenOnUntilTheSystemRefuses) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    const long room = ::fcntl(ends[1], F_SETPIPE_SZ, 4096);
    ASSERT_GT(room, 0);
    TextFile f;
    f.Create("pipe", [&](const std::string&) { return ::fdopen(ends[1], "wb"); }, 16);
    const std::string text(static_cast<std::size_t>(room) + 100, 'x');
    f.Write(text);  // larger than the buffer: to the system at once
    EXPECT_EQ(f.Failure(), "Cannot write file \"pipe\": " + std::string(std::strerror(EAGAIN)));
    std::string taken(text.size(), '\0');
    EXPECT_EQ(::read(ends[0], taken.data(), taken.size()), room);
    EXPECT_FALSE(f.Close());
    ::close(ends[0]);
}

// The file's own buffer: lines stay in it until it is full, a flush or the close; a line longer
// than the buffer goes to the system at once, behind what was buffered before it.
TEST(TextFile, BufferIsHandedOverWhenFullAndAtTheFlush) {
    test::TempDir dir{"oxw-textfile"};
    const std::string path = (dir / "out.dvk").string();
    struct Step {
        std::string prefix, text;
        std::string onDisk;  // before any flush
    };
    const Step steps[] = {
        {"", "abcd", ""},                      // 6 of 16 bytes
        {"P ", "efgh", ""},                    // 14 of 16
        {"", "ij", "abcd\r\nP efgh\r\n"},  // no room for 4 more: handed over
        {"R ", "01234567", "abcd\r\nP efgh\r\n"},  // 12 more fill the 16 bytes exactly
        {"Q ", "0123456789abcdef",
         "abcd\r\nP efgh\r\nij\r\nR 01234567\r\nQ 0123456789abcdef\r\n"},
    };
    TextFile f;
    f.Create(path, nullptr, 16);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        f.WriteLine(step.prefix, step.text);
        EXPECT_EQ(ReadAll(path), step.onDisk);
    }
    f.Write("tail");
    EXPECT_TRUE(f.Flush());
    EXPECT_EQ(ReadAll(path), std::string(steps[4].onDisk) + "tail");
    EXPECT_TRUE(f.Close());
}

// A mapped file: every line is in the file as soon as it is written (followed by zero bytes to
// the end of the step), through steps filled exactly, lines crossing into the next step and a line
// longer than two steps; the close cuts it to its text.
TEST(TextFile, MappedFileHoldsEveryLineAtOnceAndIsCutToItsTextAtTheClose) {
    test::TempDir dir{"oxw-textfile"};
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string path = (dir / "run.LOG").string();
    TextFile mapped;
    mapped.Create(path, nullptr, 100, TextFile::Mode::Mapped);  // steps of one page
    ASSERT_TRUE(mapped.IsMapped());
    std::string text;
    for (const std::string& line : {std::string(page - 4, 'a'), std::string(10, 'b'),
                                    std::string(2 * page + 5, 'c'), std::string(), std::string("d")}) {
        mapped.WriteLine("P ", line);
        text += "P " + line + "\r\n";
        EXPECT_EQ(test::MappedFileText(path), text);
        EXPECT_EQ(fs::file_size(path), (text.size() + page - 1) / page * page);
    }
    mapped.Write("no end");
    EXPECT_TRUE(mapped.Flush());
    EXPECT_EQ(mapped.Length(), text.size() + 6);
    EXPECT_TRUE(mapped.Close());
    EXPECT_EQ(ReadAll(path), text + "no end");
}

// A mapped file on a disk that fills: the step that cannot be reserved fails as a write does,
// with the system's reason (here the process's file size limit), later lines are dropped, and the
// close leaves the text of the steps before it.
TEST(TextFile, MappedStepThatCannotBeReservedFailsLikeAWrite) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string line(page / 4 - 2, 'x');  // four lines with their line ends to a page
    // A step far larger than the room: it is halved down to what fits, so every whole page
    // below the limit is written and the line that crosses it fails.
    for (const std::size_t limit : {page / 2, page + page / 2, 3 * page}) {
        SCOPED_TRACE(limit);
        test::TempDir dir{"oxw-textfile"};
        const std::string path = (dir / "run.LOG").string();
        TextFile f;
        f.Create(path, nullptr, 64 * page, TextFile::Mode::Mapped);
        // The limit holds for this process alone and only here; passing it fails with EFBIG
        // rather than the signal.
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto savedSignal = ::signal(SIGXFSZ, SIG_DFL);
        IgnoreFileSizeSignal();  // as the program does at its start
        rlimit small = saved;
        small.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::size_t written = 0;
        while (written < 16) {
            f.WriteLine(line);
            if (f.Failed()) break;
            ++written;
        }
        f.WriteLine("later");
        const bool closed = f.Close();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, savedSignal);
        const std::size_t fit = limit / page * 4;
        EXPECT_EQ(written, fit);
        EXPECT_FALSE(closed);
        EXPECT_EQ(f.Failure(), "Cannot write file \"" + path + "\": " + std::strerror(EFBIG));
        std::string expected;
        for (std::size_t k = 0; k < fit; ++k) expected += line + "\r\n";
        EXPECT_EQ(ReadAll(path), expected);
    }
}

}  // namespace
}  // namespace oxw::report
