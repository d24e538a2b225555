// Files: paths in forward-slash form reach the file meant, block reads and writes with their
// end-of-file results, seeking; and the open and save dialogs as the test driver answers them.
#include "support.h"

#include <cstring>

namespace {

std::string OpenAndRead(const std::string &path)
{
    VLFileCtrl file;
    if (!file.Open(path.c_str()))
        return "<not opened>";
    char buffer[256] = {};
    const int n = file.Read(buffer, sizeof buffer);
    return n < 0 ? "<not read>" : std::string(buffer, static_cast<size_t>(n));
}

} // namespace

TEST(FilePath, ForwardSlashPathsOpenTheFileMeant)
{
    TempDir dir;
    WriteFile(dir / "data/img/a.bmp", "picture");
    WriteFile(dir / "x", "above");
    WriteFile(dir / "sub/b", "below");
    fs::create_directories(dir / "sub/deeper");

    InFolder(dir.Path(), [] { EXPECT_EQ(OpenAndRead("data/img/a.bmp"), "picture"); });
    // A leading "/" is the root; "./" is dropped and "../" kept.
    EXPECT_EQ(OpenAndRead(dir / "sub/b"), "below");
    InFolder(dir.Path() / "sub", [] {
        EXPECT_EQ(OpenAndRead("./../x"), "above");
        EXPECT_EQ(OpenAndRead("./b"), "below");
    });
    InFolder(dir.Path() / "sub/deeper", [] { EXPECT_EQ(OpenAndRead("../../x"), "above"); });
}

TEST(FilePath, EmptyComponentsTrailingSlashAndOverlongPathsAreRefused)
{
    TempDir dir;
    WriteFile(dir / "a/b", "b");
    InFolder(dir.Path(), [] {
        VLFileCtrl file;
        EXPECT_EQ(file.Open("a//b"), 0);
        EXPECT_EQ(file.Open("a/"), 0);
        EXPECT_EQ(file.Open(""), 0);
        EXPECT_EQ(file.Open(nullptr), 0);
        EXPECT_EQ(file.Create("a//c"), 0);
        EXPECT_EQ(file.IsOpen(), 0);
        EXPECT_FALSE(fs::exists("a/c"));
        // Without its "./" this would name a file at the root.
        EXPECT_EQ(file.Create("./\\vorla-root-escape"), 0);
        EXPECT_FALSE(fs::exists("/vorla-root-escape"));
    });

    // 500 bytes is the longest path: build one that exists, and one a byte longer.
    InFolder(dir.Path(), [] {
        std::string folders;
        for (int i = 0; i < 4; ++i)
            folders += std::string(99, static_cast<char>('p' + i)) + "/";
        fs::create_directories(folders);
        const std::string longest = folders + std::string(500 - folders.size(), 'f');
        const std::string tooLong = longest + "g";
        ASSERT_EQ(longest.size(), 500u);
        WriteFile(longest, "x");
        WriteFile(tooLong, "x");
        VLFileCtrl file;
        EXPECT_EQ(file.Open(longest.c_str()), 1);
        file.Close();
        EXPECT_EQ(file.Open(tooLong.c_str()), 0);
    });
}

TEST(FileAccess, ReadsAroundTheEndOfTheFile)
{
    TempDir dir;
    const std::string small = dir / "forty";
    WriteFile(small, Pattern(40));
    char buffer[100];

    VLFileCtrl file;
    ASSERT_EQ(file.Open(small.c_str()), 1);
    EXPECT_EQ(file.Read(buffer, 100), 40);
    EXPECT_EQ(std::string(buffer, 40), Pattern(40));
    EXPECT_EQ(file.Read(buffer, 100), -1);
    ASSERT_EQ(file.Close(), 1);

    ASSERT_EQ(file.Open(small.c_str()), 1);
    EXPECT_EQ(file.Read(buffer, 40), 40);
    EXPECT_EQ(file.Read(buffer, 40), 0);
    EXPECT_EQ(file.Read(buffer, 40), -1);
    // Seeking clears the end of the file.
    EXPECT_EQ(file.Seek(-10, 3), 1);
    EXPECT_EQ(file.Read(buffer, 100), 10);
    EXPECT_EQ(file.Read(buffer, 0), -1);
    EXPECT_EQ(file.Read(nullptr, 10), -1);
    file.Close();

    // Blocks of 32760 bytes with a remainder; then the rest; then the end.
    const std::string large = dir / "large";
    WriteFile(large, Pattern(100000));
    std::vector<char> big(70000);
    ASSERT_EQ(file.Open(large.c_str()), 1);
    EXPECT_EQ(file.Read(big.data(), 70000), 70000);
    EXPECT_EQ(std::string(big.data(), 70000), Pattern(100000).substr(0, 70000));
    EXPECT_EQ(file.GetOffset(), 70000);
    EXPECT_EQ(file.Read(big.data(), 70000), 30000);
    EXPECT_EQ(std::string(big.data(), 30000), Pattern(100000).substr(70000));
    EXPECT_EQ(file.Read(big.data(), 70000), -1);
}

TEST(FileAccess, WritesInBlocksAndRefusesTheWrongDirection)
{
    TempDir dir;
    const std::string path = dir / "written";
    const std::string bytes = Pattern(32760 + 70001);
    {
        VLFileCtrl file;
        ASSERT_EQ(file.Create(path.c_str()), 1);
        EXPECT_EQ(file.Create(path.c_str()), 0); // already open
        EXPECT_EQ(file.Open(path.c_str()), 0);
        EXPECT_EQ(file.Write(bytes.data(), 32760), 32760);
        EXPECT_EQ(file.Write(bytes.data() + 32760, 70001), 70001);
        EXPECT_EQ(file.Write(bytes.data(), 0), -1);
        char buffer[4];
        EXPECT_EQ(file.Read(buffer, 4), -1); // created for writing
        // The destructor closes and so flushes the stream.
    }
    EXPECT_EQ(ReadFile(path), bytes);

    VLFileCtrl file;
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.Write(bytes.data(), 4), -1);
    EXPECT_EQ(file.GetOffset(), -1);
    EXPECT_EQ(file.Seek(0, 1), 0);
    ASSERT_EQ(file.Open(path.c_str()), 1);
    EXPECT_EQ(file.Write(bytes.data(), 4), -1);
    EXPECT_EQ(file.Seek(0, 3), 1);
    EXPECT_EQ(file.GetOffset(), static_cast<int>(bytes.size()));
    EXPECT_EQ(file.Seek(0, 4), 0);
    EXPECT_EQ(file.Seek(0, 0), 0);
    EXPECT_EQ(file.Seek(100, 1), 1);
    EXPECT_EQ(file.Seek(5, 2), 1);
    EXPECT_EQ(file.GetOffset(), 105);
    EXPECT_EQ(file.Seek(-1, 1), 0);
    file.Close();

    // Create truncates; a failed open leaves the object closed.
    ASSERT_EQ(file.Create(path.c_str()), 1);
    file.Close();
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_EQ(file.Open((dir / "missing").c_str()), 0);
    EXPECT_EQ(file.IsOpen(), 0);
}

TEST(FileAccess, FoldersDoNotOpenAsFiles)
{
    TempDir dir;
    fs::create_directories(dir / "folder/inner");
    WriteFile(dir / "folder/file", "inside");
    InFolder(dir.Path(), [&dir] {
        VLFileCtrl file;
        for (const std::string &folder : {dir.Path().string(), std::string("folder"), std::string("./folder/inner"),
                                          std::string("folder/."), std::string("folder/inner/..")}) {
            SCOPED_TRACE(folder);
            EXPECT_EQ(file.Open(folder.c_str()), 0);
            EXPECT_EQ(file.IsOpen(), 0);
            file.Close();
            EXPECT_EQ(file.Create(folder.c_str()), 0);
            EXPECT_EQ(file.IsOpen(), 0);
            file.Close();
        }
        // Nothing was left half open: the next file opens, and the folder is still a folder.
        EXPECT_EQ(OpenAndRead("folder/file"), "inside");
        EXPECT_TRUE(fs::is_directory("folder/inner"));
    });
}

TEST(FileAccess, ReadErrorIsAFailureNotAnEmptyRead)
{
    // Its first page is never mapped: the stream opens, and every read of it fails.
    VLFileCtrl file;
    ASSERT_EQ(file.Open("/proc/self/mem"), 1);
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), -1);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), -1);
}

TEST(FileAccess, WritesLostAtCloseAreReported)
{
    // A device that is always full: the few bytes of a Write wait in the stream's buffer and are
    // refused only when it is flushed at Close.
    VLFileCtrl file;
    ASSERT_EQ(file.Create("/dev/full"), 1);
    EXPECT_EQ(file.Write("hello", 5), 5);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.IsOpen(), 0);
    EXPECT_EQ(file.Close(), 0);
    // The object is closed all the same and serves the next file.
    TempDir dir;
    const std::string path = dir / "saved";
    ASSERT_EQ(file.Create(path.c_str()), 1);
    EXPECT_EQ(file.Write("hello", 5), 5);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(ReadFile(path), "hello");

    // Blocks too large to wait in the buffer fail at the Write itself.
    ASSERT_EQ(file.Create("/dev/full"), 1);
    const std::string block = Pattern(70000);
    EXPECT_EQ(file.Write(block.data(), static_cast<int>(block.size())), -1);
    file.Close();
}

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override { driver::Reset(); }
};

TEST_F(FileDialog, OpenDialogAsksForEveryFileAndReturnsTheChoice)
{
    TempDir dir;
    WriteFile(dir / "chosen.txt", "from the dialog");
    driver::AnswerFileDialog(dir / "chosen.txt");

    VLFileCtrl file;
    char result[600];
    char start[] = "C:\\pictures";
    ASSERT_EQ(file.FileOpenDialog(start, result, sizeof result), 1);
    EXPECT_STREQ(result, (dir / "chosen.txt").c_str());
    EXPECT_EQ(OpenAndRead(result), "from the dialog");

    const std::vector<driver::FileDialogRecord> asked = driver::FileDialogs();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].filter, (std::vector<std::string>{"All Files (*.*)", "*.*"}));
    EXPECT_EQ(asked[0].initial_dir, "C:\\pictures");
    EXPECT_EQ(asked[0].initial_name, "*.*");
    EXPECT_EQ(asked[0].flags, static_cast<DWORD>(0xA0004));
    EXPECT_EQ(asked[0].buffer_size, 510u);
    EXPECT_EQ(asked[0].title, "");

    // Cancelled, or nobody answering: 0.
    driver::CancelFileDialog();
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, sizeof result), 0);
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, sizeof result), 0);
    EXPECT_EQ(driver::FileDialogs().size(), 3u);
}

TEST_F(FileDialog, ResultSizesAreCheckedBeforeAndAfterTheDialog)
{
    VLFileCtrl file;
    char result[1001];
    // Out of range: no dialog is shown at all.
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, 1001), 0);
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, 0), 0);
    EXPECT_EQ(file.FileOpenDialog(nullptr, nullptr, 10), 0);
    EXPECT_EQ(file.FileSaveDialog(nullptr, nullptr, result, 1001), 0);
    EXPECT_TRUE(driver::FileDialogs().empty());

    // A path must be shorter than the result size: 9 bytes fit in 10, 10 do not.
    std::memset(result, '#', sizeof result);
    driver::AnswerFileDialog("/abc/defg");
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, 10), 1);
    EXPECT_STREQ(result, "/abc/defg");
    std::memset(result, '#', sizeof result);
    driver::AnswerFileDialog("/abc/defgh");
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, 10), 0);
    EXPECT_EQ(result[0], '#');

    // Longer than the dialog's own 510-byte buffer: the dialog itself fails.
    driver::AnswerFileDialog("/" + std::string(520, 'n'));
    EXPECT_EQ(file.FileOpenDialog(nullptr, result, 1000), 0);
}

TEST_F(FileDialog, SaveDialogOffersTheInitialName)
{
    VLFileCtrl file;
    char result[100];
    driver::AnswerFileDialog("/out/report.txt");
    ASSERT_EQ(file.FileSaveDialog("/out", "report.txt", result, sizeof result), 1);
    EXPECT_STREQ(result, "/out/report.txt");
    driver::CancelFileDialog();
    EXPECT_EQ(file.FileSaveDialog(nullptr, nullptr, result, sizeof result), 0);
    // A suggested name longer than the dialog's buffer is cut, not written past it.
    const std::string longName(700, 'l');
    EXPECT_EQ(file.FileSaveDialog(nullptr, longName.c_str(), result, sizeof result), 0);

    const std::vector<driver::FileDialogRecord> asked = driver::FileDialogs();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].initial_name, "report.txt");
    EXPECT_EQ(asked[0].initial_dir, "/out");
    EXPECT_EQ(asked[0].flags, static_cast<DWORD>(0x20004));
    EXPECT_EQ(asked[1].initial_name, "");
    EXPECT_EQ(asked[2].initial_name, std::string(509, 'l'));
}

// The system's dialog call: a too small buffer reports the size it needed.
TEST_F(FileDialog, SystemDialogReportsTheNeededBufferSize)
{
    char name[8] = "";
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;

    driver::AnswerFileDialog("/a/bc.txt");
    EXPECT_FALSE(GetOpenFileNameA(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    WORD needed;
    std::memcpy(&needed, name, sizeof needed);
    EXPECT_EQ(needed, 10);

    char wide[16] = "";
    dialog.lpstrFile = wide;
    dialog.nMaxFile = sizeof wide;
    driver::AnswerFileDialog("/a/bc.txt");
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_STREQ(wide, "/a/bc.txt");
    EXPECT_EQ(dialog.nFileOffset, 3);
    EXPECT_EQ(dialog.nFileExtension, 6);
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    dialog.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameA(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}
