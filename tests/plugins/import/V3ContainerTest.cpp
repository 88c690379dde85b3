// Version-3 containers, made here by an encoder of our own on OpenSSL (AES-256-ECB, MD5, SHA-256)
// rather than by the reader's code, read back by the importer from memory and from disk.
#define OPENSSL_SUPPRESS_DEPRECATED  // SHA256_Transform: the raw compression, for the odd padding
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <QMessageBox>
#include <cstring>
#include <string>

#include "ImportTestSupport.h"
#include "PluginFolder.h"
#include "Rijndael.h"
#include "SHA256.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "V3Container.h"
#include "WindowScript.h"
#include "engine/vault/Engine.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt::import {
namespace {

using test::RecordingSink;
using Key = std::array<unsigned char, 32>;

Key publishedSha256(std::string_view bytes) {
    Key key{};
    EVP_Digest(bytes.data(), bytes.size(), key.data(), nullptr, EVP_sha256(), nullptr);
    return key;
}

// The old writer's digest for inputs of 55 bytes modulo 64: the 0x80 marker closes a block of
// its own, and the length follows in one more block.
Key closingEarlySha256(std::string_view bytes) {
    EXPECT_EQ(bytes.size() % 64, 55u);
    SHA256_CTX ctx;
    SHA256_Init(&ctx);
    std::size_t full = bytes.size() / 64 * 64;
    for (std::size_t i = 0; i < full; i += 64) {
        SHA256_Transform(&ctx, reinterpret_cast<const unsigned char*>(bytes.data() + i));
    }
    unsigned char block[64] = {};
    std::memcpy(block, bytes.data() + full, 55);
    block[55] = 0x80;
    SHA256_Transform(&ctx, block);
    std::memset(block, 0, sizeof block);
    const std::uint64_t bits = bytes.size() * 8;
    for (int i = 0; i < 8; ++i) {
        block[56 + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    }
    SHA256_Transform(&ctx, block);
    Key key{};
    for (int i = 0; i < 8; ++i) {
        for (int b = 0; b < 4; ++b) {
            key[4 * i + b] = static_cast<unsigned char>(ctx.h[i] >> (24 - 8 * b));
        }
    }
    return key;
}

std::string md5Hex(std::string_view bytes) {
    unsigned char digest[16];
    EVP_Digest(bytes.data(), bytes.size(), digest, nullptr, EVP_md5(), nullptr);
    std::string hex;
    for (unsigned char b : digest) {
        static const char kHex[] = "0123456789abcdef";
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return hex;
}

std::string aes(const Key& key, std::string_view in, bool encrypt) {
    std::string out(in.size(), '\0');
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    int n = 0;
    EVP_CipherInit_ex(ctx, EVP_aes_256_ecb(), nullptr, key.data(), nullptr, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &n,
                     reinterpret_cast<const unsigned char*>(in.data()),
                     static_cast<int>(in.size()));
    EVP_CIPHER_CTX_free(ctx);
    return out;
}

// Pads with n bytes of value n, XORs block i with the digits of i, then encrypts each block.
std::string encryptStream(std::string_view plaintext, const Key& key) {
    const std::size_t pad = 16 - plaintext.size() % 16;
    std::string buffer = std::string(plaintext) + std::string(pad, static_cast<char>(pad));
    for (std::size_t block = 0; block < buffer.size() / 16; ++block) {
        const std::string digits = std::to_string(block + 1);
        for (std::size_t j = 0; j < 16; ++j) {
            buffer[16 * block + j] ^= digits[j % digits.size()];
        }
    }
    return aes(key, buffer, true);
}

std::string le32(std::int32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string containerFile(std::string_view md5, std::int32_t length, std::string_view stream,
                          std::int32_t version = 3) {
    return "VLK" + std::string(md5) + le32(length) + le32(version) + std::string(16, '\x11') +
           std::string(stream) + "EOFVLK";
}

std::string containerFor(std::string_view plaintext, const Key& key) {
    const std::string stream = encryptStream(plaintext, key);
    return containerFile(md5Hex(plaintext), static_cast<std::int32_t>(stream.size()), stream);
}

const std::string kLongComment = [] {
    std::string text;
    for (int i = 0; text.size() < 2000; ++i) {
        text += "line " + std::to_string(i) + " \xE9\r\n";
    }
    return text;
}();

// Two groups (a blank record between them), one group lost for want of its separator, and two
// entries, the first long enough to reach block numbers of three digits.
const std::string kPlaintext = std::string(
                                   "Mail\x04"
                                   "5\x04"
                                   "100\x04"
                                   "1\x05") +
                               "  \x05" +
                               " Caf\xE9 \x04"
                               "150\x04"
                               "101\x04"
                               "0\x05" +
                               "Lost\x04"
                               "1\x04"
                               "102\x04"
                               "1" +
                               "\x08" +
                               "Mail\x06"
                               "Bank\x06"
                               "ann\x06"
                               "s\x80"
                               "cret\x06"
                               "x\x06"
                               "y\x06" +
                               "200\x06"
                               "100\x06" +
                               kLongComment + "\x07" +
                               "Short\x06"
                               "only\x07";

void expectImported(const RecordingSink& sink) {
    ASSERT_EQ(sink.groups.size(), 2u);
    EXPECT_EQ(sink.groups[0].Name, u"Mail");
    EXPECT_EQ(sink.groups[0].Icon, 5);
    EXPECT_EQ(sink.groups[0].GroupID, 100);
    EXPECT_EQ(sink.groups[0].Depth, 1);
    EXPECT_EQ(sink.groups[1].Name, u"Caf\u00e9 ");
    EXPECT_EQ(sink.groups[1].Icon, 0);   // 150 has no picture
    EXPECT_EQ(sink.groups[1].Depth, 1);  // 0 is no depth
    EXPECT_EQ(sink.groups[1].GroupID, 101);
    ASSERT_EQ(sink.entries.size(), 2u);
    const EntryRecord& bank = sink.entries[0];
    EXPECT_EQ(bank.GroupName, u"Mail");
    EXPECT_EQ(bank.Account, u"Bank");
    EXPECT_EQ(bank.User, u"ann");
    EXPECT_EQ(bank.Password, u"s\u20accret");
    EXPECT_EQ(bank.ID, 200);
    EXPECT_EQ(bank.GroupID, 100);
    EXPECT_EQ(bank.URL, u"");
    EXPECT_EQ(bank.Comment.size(), kLongComment.size());
    EXPECT_EQ(bank.Comment.substr(0, 10), u"line 0 \u00e9\r\n");
    EXPECT_EQ(bank.Expires, -1);
    EXPECT_EQ(bank.CreationDate, -1);
    const EntryRecord& shortOne = sink.entries[1];
    EXPECT_EQ(shortOne.GroupName, u"Short");
    EXPECT_EQ(shortOne.Account, u"only");
    EXPECT_EQ(shortOne.Password, u"");
    EXPECT_EQ(shortOne.ID, 0);
    // Five records by their separators, four handed over.
    EXPECT_EQ(sink.percents, (std::vector<int>{20, 40, 60, 80}));
}

TEST(V3Container, ValidFileFromMemoryAndFromDisk) {
    ASSERT_GT(kPlaintext.size(), 1600u);
    const std::string file = containerFor(kPlaintext, publishedSha256("p\x80ss"));
    RecordingSink fromMemory;
    const ImportResult result = ImportV3_ReadBytes(file, u"p\u20acss", fromMemory);
    EXPECT_EQ(result.Ok, 1);
    EXPECT_EQ(result.Text, u"File imported successfully!");
    expectImported(fromMemory);

    vlt::test::TempDir dir;
    vlt::test::writeFile(dir.file("old.vlk"), file);
    RecordingSink fromDisk;
    EXPECT_EQ(ImportV3_ReadContainer(u"p\u20acss", dir.file("old.vlk"), fromDisk).Ok, 1);
    expectImported(fromDisk);

    // The whitening leaves a byte equal to its digit alone.
    std::uint8_t block[4] = {'1', '2', 'a', 0};
    XorWithCyclicKey(block, 4, reinterpret_cast<const std::uint8_t*>("12"), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 4), std::string("12P\x32", 4));
}

TEST(V3Container, DamagedFilesAndWrongPasswordsAreRefusedBeforeAnythingIsAdded) {
    const Key key = publishedSha256("right");
    const std::string plain =
        "G\x04"
        "0\x04"
        "1\x04"
        "1\x05\x08";
    const std::string stream = encryptStream(plain, key);
    const std::string md5 = md5Hex(plain);
    const auto length = static_cast<std::int32_t>(stream.size());

    // Wrong passwords whose last decrypted byte is, and is not, a valid pad count.
    std::string validPad;
    std::string invalidPad;
    for (int i = 0; validPad.empty() || invalidPad.empty(); ++i) {
        const std::string candidate = "wrong" + std::to_string(i);
        std::string last =
            aes(publishedSha256(candidate), stream.substr(stream.size() - 16), false);
        const std::string digits = std::to_string(stream.size() / 16);
        const char d = digits[15 % digits.size()];
        const auto pad = static_cast<signed char>(last[15] == d ? last[15] : last[15] ^ d);
        (pad >= 1 && pad <= 16 ? validPad : invalidPad) = candidate;
    }

    const std::u16string wrongPassword =
        u"The supplied password is wrong or the database has been modified outside VLT. Please "
        u"try again.";
    const std::u16string truncated =
        u"This is a valid VLT/VLK container file, but it seems to be truncated, the ending "
        u"signature is missing.";
    const std::u16string notLength = u"The length of the data stream is smaller or equal to zero.";
    struct Case {
        std::string file;
        std::string password;
        std::u16string message;
    };
    const std::string whole = containerFile(md5, length, stream);
    const std::vector<Case> cases = {
        {whole, validPad, wrongPassword},
        {whole, invalidPad, wrongPassword},
        // Not whole blocks: the last byte is never decrypted.
        {containerFile(md5, length + 3, stream + "abc"), "right", wrongPassword},
        {containerFile(md5, length + 1, stream), "right", truncated},  // L past the end
        {containerFile(md5, 0x7FFFFFFF, stream), "right", truncated},
        {whole.substr(0, whole.size() - 10), "right", truncated},  // cut short
        {"VLK" + std::string(50, 'x') + "EOFVLK", "right", truncated},
        {"VLX" + whole.substr(3), "right", u"This is not a valid VLT/VLK container file."},
        {"VL", "right", u"This is not a valid VLT/VLK container file."},
        {containerFile(md5, length, stream, 2), "right",
         u"This is a valid VLT/VLK container file, but the version reported is different. Only "
         u"containers created with version 3.0 of VLT are supported."},
        {containerFile(md5, 0, stream), "right", notLength},
        {containerFile(md5, -16, stream), "right", notLength},
    };
    vlt::test::TempDir dir;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const std::u16string password(cases[i].password.begin(), cases[i].password.end());
        RecordingSink fromMemory;
        const ImportResult memory = ImportV3_ReadBytes(cases[i].file, password, fromMemory);
        vlt::test::writeFile(dir.file("case.vlk"), cases[i].file);
        RecordingSink fromDisk;
        const ImportResult disk = ImportV3_ReadContainer(password, dir.file("case.vlk"), fromDisk);
        for (const ImportResult& r : {memory, disk}) {
            EXPECT_EQ(r.Ok, 0);
            EXPECT_EQ(r.Caption, u"Error");
            EXPECT_EQ(r.Text, cases[i].message);
        }
        EXPECT_TRUE(fromMemory.groups.empty() && fromDisk.groups.empty());
    }
    RecordingSink none;
    EXPECT_EQ(ImportV3_ReadContainer(u"right", dir.file("missing.vlk"), none).Text,
              u"The file is locked and could not be read.");
    // The right password still works on the intact file.
    RecordingSink sink;
    EXPECT_EQ(ImportV3_ReadBytes(whole, u"right", sink).Ok, 1);
    EXPECT_EQ(sink.groups.size(), 1u);
}

TEST(V3Container, PasswordsOf55BytesModulo64OpenWithEitherDigest) {
    for (std::size_t n = 0; n < 200; ++n) {
        const std::string input(n, static_cast<char>('a' + n % 26));
        const Key published = publishedSha256(input);
        const Digest256 ours = HashKey256(input.data(), n, Sha256Padding::Published);
        const Digest256 old = HashKey256(input.data(), n, Sha256Padding::Container);
        EXPECT_TRUE(std::equal(ours.begin(), ours.end(), published.begin())) << n;
        const Key expectedOld = n % 64 == 55 ? closingEarlySha256(input) : published;
        EXPECT_TRUE(std::equal(old.begin(), old.end(), expectedOld.begin())) << n;
        if (n % 64 == 55) {
            EXPECT_NE(expectedOld, published);
        }
    }
    const std::string password(119, 'k');
    const std::u16string typed(password.begin(), password.end());
    for (const Key& key : {closingEarlySha256(password), publishedSha256(password)}) {
        RecordingSink sink;
        EXPECT_EQ(ImportV3_ReadBytes(containerFor(kPlaintext, key), typed, sink).Ok, 1);
        expectImported(sink);
    }
}

TEST(V3Container, PluginAsksForThePasswordBeforeItsWindowAndFillsTheVault) {
    vlt::test::PluginFolder folder;
    vlt::test::ScriptedDesktop desktop;
    Engine engine{desktop};
    PluginList plugins{engine.ids, engine.log};
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Oldcrate")), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"VLT 3.x VLK Importer");
    const std::string path = folder.file("old.vlk");
    vlt::test::writeFile(path, containerFor(kPlaintext, publishedSha256("p\x80ss")));

    // Cancelled: no window, nothing read. The window's script waits for the next run.
    desktop.passwordAnswers.push_back(u"");
    bool windowSeen = false;
    test::when("importerWindow", [&](QWidget* w) {
        windowSeen = true;
        test::typePathAndImport(w, QString::fromStdString("  " + path + " "));
    });
    ASSERT_EQ(RunImporter(plugins, engine, [](bool) {}), 1);
    QApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_FALSE(windowSeen);
    EXPECT_EQ(engine.vault.Groups.count(), 0);

    // Typed: the path's outer blanks are dropped; the records land in the vault.
    desktop.passwordAnswers.push_back(u"p\u20acss");
    QString message;
    test::when("importerMessage", [&](QWidget* box) {
        message = static_cast<QMessageBox*>(box)->text();
        static_cast<QMessageBox*>(box)->accept();
    });
    ASSERT_EQ(RunImporter(plugins, engine, [](bool) {}), 1);
    EXPECT_TRUE(windowSeen);
    EXPECT_EQ(message, "File imported successfully!");
    EXPECT_EQ(desktop.passwordModes, (std::vector<PasswordMode>{kPasswordImport, kPasswordImport}));
    // The short record names no group: it gets one of its group name, so that it is shown.
    ASSERT_EQ(engine.vault.Groups.count(), 3);
    EXPECT_EQ(engine.vault.Groups.at(1).Name, u"Caf\u00e9 ");
    EXPECT_EQ(engine.vault.Groups.at(2).Name, u"Short");
    ASSERT_EQ(engine.vault.Entries.count(), 2);
    EXPECT_EQ(engine.vault.Entries.at(0).Password, std::u16string_view(u"s\u20accret"));
    EXPECT_EQ(engine.vault.Entries.at(1).GroupID, engine.vault.Groups.at(2).ID);
    EXPECT_TRUE(test::windowLeft());
}

}  // namespace
}  // namespace vlt::import
