#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "Fifo.h"
#include "TempDir.h"
#include "engine/log/Logging.h"
#include "engine/vault/FreeMemory.h"

namespace vlt {
namespace {

constexpr std::int32_t kDec8_2026_092850 = 1796722130;  // 08/12/26 09:28:50

struct LogFixture : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.file("VLT.log");
    TraceLog log;
    bool enabled = true;

    void SetUp() override {
        log.setEnabled([this] { return enabled; });
        log.setClock([] { return kDec8_2026_092850; });
    }
};

TEST_F(LogFixture, TraceLinesHaveTheDocumentedShape) {
    ASSERT_EQ(log.Log_Open(path), 1);
    log.Trace(u"Writing header", "SaveContainerAs");
    log.Trace(u"x");
    EXPECT_EQ(log.Log_Write(u""), 1);
    log.Log_Close();
    EXPECT_EQ(test::readFile(path),
              "#08/12/26 09:28:50 SaveContainerAs() -> Writing header\r\n"
              "#08/12/26 09:28:50 Main() -> x\r\n"
              "\r\n");
}

TEST_F(LogFixture, BannerAndSessionEnd) {
    ASSERT_EQ(log.Log_Open(path), 1);
    EXPECT_EQ(log.Log_Banner(u"Orvelline Vaultwick v.4.1"), 1);
    EXPECT_EQ(log.Log_End(), 1);
    EXPECT_EQ(log.Log_Close(), 1);
    EXPECT_EQ(test::readFile(path),
              "\r\n<<< Orvelline Vaultwick v.4.1 >>>\r\n\r\n\r\n<<< Session ended >>>\r\n");
}

TEST_F(LogFixture, ExistingLogIsAppendedNotTruncated) {
    test::writeFile(path, "earlier session\r\n");
    ASSERT_EQ(log.Log_Open(path), 1);
    log.Trace(u"again", "P");
    log.Log_Close();
    EXPECT_EQ(test::readFile(path), "earlier session\r\n#08/12/26 09:28:50 P() -> again\r\n");
}

// A FIFO or device as the log would block the start, or every traced step: no log is opened.
TEST_F(LogFixture, AFifoOrDeviceIsNoLog) {
    test::Fifo fifo(path);
    EXPECT_EQ(log.Log_Open(path), 0);
    EXPECT_EQ(log.Log_Open("/dev/null"), 0);
    EXPECT_EQ(log.Log_Write(u"x"), -1);
    EXPECT_FALSE(log.isOpen());
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

// A link at the log's name could send the lines into someone else's file: it is no log either.
TEST_F(LogFixture, ALinkIsNoLog) {
    const std::string other = dir.file("other.txt");
    test::writeFile(other, "someone's own");
    std::filesystem::create_symlink(other, path);
    EXPECT_EQ(log.Log_Open(path), 0);
    EXPECT_EQ(log.Log_Write(u"x"), -1);
    EXPECT_EQ(test::readFile(other), "someone's own");
    std::filesystem::remove(other);  // dangling, the link still creates nothing
    EXPECT_EQ(log.Log_Open(path), 0);
    EXPECT_FALSE(std::filesystem::exists(other));
}

TEST_F(LogFixture, WithoutAnOpenLogNothingIsWritten) {
    EXPECT_EQ(log.Log_Write(u"x"), -1);
    EXPECT_EQ(log.Log_Banner(u"x"), -1);
    EXPECT_EQ(log.Log_End(), -1);
    EXPECT_EQ(log.Log_Close(), 0);
    EXPECT_EQ(log.Log_Open(""), 0);
    EXPECT_EQ(log.Trace(u"x", "P"), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(LogFixture, SwitchingTracingOffSilencesAtOnce) {
    ASSERT_EQ(log.Log_Open(path), 1);
    log.Trace(u"one", "P");
    enabled = false;
    log.Trace(u"two", "P");
    enabled = true;
    log.Trace(u"three", "P");
    log.Log_Close();
    auto text = test::readFile(path);
    EXPECT_NE(text.find("one"), std::string::npos);
    EXPECT_EQ(text.find("two"), std::string::npos);
    EXPECT_NE(text.find("three"), std::string::npos);
}

TEST_F(LogFixture, TextIsUtf8WithoutByteOrderMark) {
    ASSERT_EQ(log.Log_Open(path), 1);
    log.Trace(u"Continuing to load from: \"C:\\S\u00e9f\\\U0001F511.vlt\"", "OpenContainer");
    log.Log_Close();
    auto text = test::readFile(path);
    EXPECT_EQ(text.rfind("#08/12/26", 0), 0u);
    EXPECT_NE(text.find("S\xc3\xa9"
                        "f\\\xf0\x9f\x94\x91.vlt"),
              std::string::npos);
}

TEST_F(LogFixture, LinesFromManyThreadsStayWhole) {
    ASSERT_EQ(log.Log_Open(path), 1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([this] {
            for (int i = 0; i < 200; ++i) {
                log.Trace(u"a fairly long message that must never be interleaved", "Plugin");
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    log.Log_Close();
    auto text = test::readFile(path);
    const std::string line =
        "#08/12/26 09:28:50 Plugin() -> a fairly long message that must never be interleaved\r\n";
    ASSERT_EQ(text.size(), line.size() * 1600);
    for (std::size_t at = 0; at < text.size(); at += line.size()) {
        ASSERT_EQ(text.compare(at, line.size(), line), 0) << "at byte " << at;
    }
}

TEST_F(LogFixture, FreeMemoryExReleasesAndTraces) {
    ASSERT_EQ(log.Log_Open(path), 1);
    SecureBuffer empty;
    EXPECT_EQ(FreeMemoryEx(log, empty), 0);
    SecureBuffer key(32);
    key[0] = 0xAB;
    EXPECT_EQ(FreeMemoryEx(log, key), 0);
    EXPECT_TRUE(key.empty());
    EXPECT_EQ(key.data(), nullptr);
    log.Log_Close();
    auto text = test::readFile(path);
    EXPECT_NE(text.find("FreeMemoryEx() -> Trying to free memory buffer: 0\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("FreeMemoryEx() -> Not a valid buffer, aborted"), std::string::npos);
    EXPECT_NE(text.find("FreeMemoryEx() -> Freeing buffer: "), std::string::npos);
    EXPECT_NE(text.find("FreeMemoryEx() -> Buffer freed"), std::string::npos);
}

}  // namespace
}  // namespace vlt
