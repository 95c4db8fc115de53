// The writer of every output file: every write, flush and close is checked, the first failure
// is kept with the system's reason, and the file's later writes are dropped; on /dev/full (every
// write fails), on a sink that takes a number of bytes, and on a file that is not open.
#include "app/report/TextFile.h"
#include "support/FailingStreams.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir{"oxw-textfile"};
        const std::string path = c.budget ? (dir / "out.dvk").string() : "/dev/full";
        TextFile f;
        if (c.budget) {
            f.Create(path, [&](const std::string& p) { return test::OpenFailingAfter(p, *c.budget); });
        } else {
            f.Create(path);
        }
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

}  // namespace
}  // namespace oxw::report
