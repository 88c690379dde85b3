#include "common/RegularFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "TempDir.h"

namespace vlt {
namespace {

using test::TempDir;

// Every special kind of file is refused at once, for reading and for appending, instead of
// blocking the caller: a FIFO with no writer would hang a blocking open(2) for good.
TEST(RegularFile, SpecialFilesAreRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = dir.file("sock");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socketPath.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path :
         {fifo, socketPath, dir.path().string(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        std::string bytes = "old";
        EXPECT_EQ(ReadRegularFile(path, bytes), FileRefusal::NotRegular);
        EXPECT_TRUE(bytes.empty());
        FileRefusal why = FileRefusal::None;
        EXPECT_EQ(OpenRegularFile(path, O_WRONLY | O_APPEND | O_CREAT, 0600, &why), -1);
        EXPECT_EQ(why, FileRefusal::NotRegular);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ::close(sock);
}

TEST(RegularFile, ReadsRegularFilesWholeAndRefusesWhatIsMissingOrTooLarge) {
    TempDir dir;
    const std::string path = dir.file("data");
    test::writeFile(path, std::string("a\0b", 3));
    std::string bytes;
    EXPECT_EQ(ReadRegularFile(path, bytes), FileRefusal::None);
    EXPECT_EQ(bytes, std::string("a\0b", 3));
    EXPECT_EQ(ReadRegularFile(path, bytes, 2), FileRefusal::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadRegularFile(dir.file("absent"), bytes), FileRefusal::Missing);

    // A descriptor opened this way blocks again like any other (writes are not cut short).
    FileRefusal why = FileRefusal::Missing;
    const int fd = OpenRegularFile(path, O_WRONLY | O_APPEND, 0, &why);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(why, FileRefusal::None);
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(fd);
}

}  // namespace
}  // namespace vlt
