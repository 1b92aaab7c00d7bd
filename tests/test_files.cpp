// Checks of the sequential files: bytes written, items read back, errors and safe saving.
#include "services/files/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;
using svc::FileMode;
using Mode = svc::FileTable::Mode;
using svc::FileTable;
using testing_support::Harness;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

// Every item of a file, read until the end; the error that ended the reading is last.
std::vector<std::string> items_of(const std::string& bytes)
{
    write_file("items.txt", bytes);
    FileTable table;
    std::vector<std::string> out;
    EXPECT_EQ(table.open("items.txt", Mode::Input, 1), 0);
    errno = EINTR; // left over from an earlier interrupted call: the end still ends the file
    for (int guard = 0; guard < 100; ++guard) {
        std::string item;
        const int err = table.read(1, item);
        if (err != 0) {
            EXPECT_EQ(err, svc::kInputPastEnd);
            EXPECT_EQ(item, "");
            break;
        }
        out.push_back(item);
    }
    return out;
}

using Items = std::vector<std::string>;

TEST(SequentialFiles, ReadingFollowsTheFourSteps)
{
    TempDir dir;
    EXPECT_EQ(items_of("  abc  ,"), Items{"abc"});
    EXPECT_EQ(items_of("\t\t 9\t \r\n"), Items{"9"});
    EXPECT_EQ(items_of("\"a,b\",c  \r\nd"), (Items{"a,b", "c", "d"}));
    // CR LF and LF CR are one line end each; a lone CR or LF is one too.
    EXPECT_EQ(items_of("x\n\ry\r\nz\rw\n"), (Items{"x", "y", "z", "w"}));
    EXPECT_EQ(items_of("x\r\n\r\ny"), (Items{"x", "", "y"}));
    EXPECT_EQ(items_of("x\r\ry\n\nz"), (Items{"x", "", "y", "", "z"}));
    // After the closing quote everything up to the separator is passed over.
    EXPECT_EQ(items_of("\"ab\"zz,next"), (Items{"ab", "next"}));
    EXPECT_EQ(items_of("\"abc"), Items{"abc"});
    EXPECT_EQ(items_of("a b\t c ,, d"), (Items{"a b\t c", "", "d"}));
    EXPECT_EQ(items_of("\"  \",  \"\""), (Items{"  ", ""}));
    // Only a Ctrl-Z in the first byte ends the file.
    EXPECT_EQ(items_of("\x1A\"abc\"\r\n"), Items{});
    EXPECT_EQ(items_of("\"a\x1A\"\r\n"), Items{"a\x1A"});
    EXPECT_EQ(items_of(""), Items{});
    EXPECT_EQ(items_of("   \t "), Items{});
    EXPECT_EQ(items_of(std::string("\"\0\xFF\"", 4)), Items{std::string("\0\xFF", 2)});
}

TEST(SequentialFiles, ALongItemIsCutAndTheRestPassedOver)
{
    TempDir dir;
    const std::string big(FileTable::kMaxItem + 5000, 'q');
    EXPECT_EQ(items_of(big + ",tail"), (Items{big.substr(0, FileTable::kMaxItem), "tail"}));
    EXPECT_EQ(items_of("\"" + big + "\"\r\nx"), (Items{big.substr(0, FileTable::kMaxItem), "x"}));
}

TEST(SequentialFiles, ErrorsOfTheFileOperations)
{
    TempDir dir;
    Harness h;
    write_file("here.txt", "\"x\"\r\n");
    fs::create_directory("folder");

    const struct {
        std::string name;
        FileMode mode;
        int number, error;
    } opens[] = {
        {"missing.txt", FileMode::Input, 1, svc::kFileNotFound},
        {"/muvesecky-no-such-file", FileMode::Input, 1, svc::kFileNotFound}, // in the root folder
        {"nowhere/x.txt", FileMode::Input, 1, svc::kPathNotFound},
        {"nowhere/x.txt", FileMode::Output, 1, svc::kPathNotFound},
        {"here.txt/x", FileMode::Input, 1, svc::kPathNotFound},
        {"folder", FileMode::Input, 1, svc::kPathFileAccess},
        {"folder", FileMode::Output, 1, svc::kPathFileAccess},
        {"", FileMode::Input, 1, svc::kBadFileName},
        {std::string(5000, 'n'), FileMode::Output, 1, svc::kBadFileName},
        {"here.txt", FileMode::Input, 0, svc::kBadFileNumber},
        {"here.txt", FileMode::Input, 256, svc::kBadFileNumber},
    };
    for (const auto& o : opens) {
        h.sv().open_file(o.name, o.mode, o.number);
        EXPECT_EQ(h.answerError(), o.error) << o.name.substr(0, 24) << " as #" << o.number;
    }
    // The failed opens left the numbers free.
    EXPECT_EQ(h.sv().read_item(1), "");
    EXPECT_EQ(h.answerError(), svc::kBadFileNumber);
    h.sv().write_item(3, "x");
    EXPECT_EQ(h.answerError(), svc::kBadFileNumber);
    h.sv().close_all_files();
    EXPECT_EQ(h.answerError(), 0);

    h.sv().open_file("here.txt", FileMode::Input, 255);
    h.sv().open_file("other.txt", FileMode::Output, 255);
    EXPECT_EQ(h.answerError(), svc::kFileAlreadyOpen);
    h.sv().write_item(255, "x");
    EXPECT_EQ(h.answerError(), svc::kBadFileMode);
    h.sv().open_file("./here.txt", FileMode::Output, 2);
    EXPECT_EQ(h.answerError(), svc::kFileAlreadyOpen);
    h.sv().open_file("other.txt", FileMode::Output, 2);
    EXPECT_EQ(h.sv().read_item(2), "");
    EXPECT_EQ(h.answerError(), svc::kBadFileMode);
    // The read that failed on the wrong file did not move the other one.
    EXPECT_EQ(h.sv().read_item(255), "x");
    h.sv().close_all_files();
    EXPECT_EQ(h.answerError(), 0);
    EXPECT_EQ(read_file("other.txt"), "");
    EXPECT_EQ(read_file("here.txt"), "\"x\"\r\n");
}

TEST(SequentialFiles, RefusedAccessIsPermissionDenied)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser is never refused";
    }
    TempDir dir;
    FileTable table;
    write_file("locked.txt", "\"x\"\r\n");
    fs::permissions("locked.txt", fs::perms::none);
    EXPECT_EQ(table.open("locked.txt", Mode::Input, 1), svc::kPermissionDenied);
    EXPECT_EQ(table.open("locked.txt", Mode::Output, 1), svc::kPermissionDenied);
    fs::create_directory("shut");
    fs::permissions("shut", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(table.open("shut/new.txt", Mode::Output, 1), svc::kPermissionDenied);
    EXPECT_FALSE(table.is_open(1));
}

TEST(SafeSaving, TheOldFileStaysWholeUntilTheNewOneIsClosed)
{
    TempDir dir;
    write_file("LEVEL.MGS", "\"\x8D\"\r\n");
    ::chmod("LEVEL.MGS", 0640);
    {
        FileTable table;
        ASSERT_EQ(table.open("LEVEL.MGS", Mode::Output, 1), 0);
        ASSERT_EQ(table.write(1, "\x8E"), 0);
        EXPECT_EQ(read_file("LEVEL.MGS"), "\"\x8D\"\r\n");
        EXPECT_TRUE(fs::exists(FileTable::pending_name("LEVEL.MGS")));
        errno = EINTR; // an old error number is no failure of the close
        EXPECT_EQ(table.close_all(), 0);
    }
    EXPECT_EQ(read_file("LEVEL.MGS"), "\"\x8E\"\r\n");
    EXPECT_FALSE(fs::exists(FileTable::pending_name("LEVEL.MGS")));
    EXPECT_EQ(fs::status("LEVEL.MGS").permissions(), static_cast<fs::perms>(0640));
}

TEST(SafeSaving, ALinkedFileIsReplacedAndTheLinkKept)
{
    TempDir dir;
    fs::create_directory("real");
    write_file("real/sound.cop", "\" 0\"\r\n");
    fs::create_symlink("real/sound.cop", "sound.cop");
    FileTable table;
    ASSERT_EQ(table.open("sound.cop", Mode::Output, 1), 0);
    ASSERT_EQ(table.write(1, " 1"), 0);
    ASSERT_EQ(table.close_all(), 0);
    EXPECT_TRUE(fs::is_symlink("sound.cop"));
    EXPECT_EQ(read_file("real/sound.cop"), "\" 1\"\r\n");
}

TEST(SafeSaving, DestroyingTheTableClosesItsFiles)
{
    TempDir dir;
    const int input = ::dup(0);
    ::close(0); // started without standard input: the new file may be descriptor 0
    {
        FileTable table;
        ASSERT_EQ(table.open("new.txt", Mode::Output, 7), 0);
        ASSERT_EQ(table.write(7, "abc"), 0);
        EXPECT_FALSE(fs::exists("new.txt"));
    }
    ::dup2(input, 0);
    ::close(input);
    EXPECT_EQ(read_file("new.txt"), "\"abc\"\r\n");
}

} // namespace
