#include "ContainerFlowFixture.h"

#include "engine/container/ContainerCodec.h"

namespace vlt {

std::vector<DamagedFile> damagedFiles() {
    test::RawContainer good;
    good.addVault(test::SampleVault({1, 40}));
    const std::string goodText = good.text();

    std::vector<DamagedFile> cases;
    cases.push_back({"empty", "", u"The file you have chosen is empty.", false});
    cases.push_back({"94 bytes", goodText.substr(0, 94), kNotValid, false});
    cases.push_back(
        {"95 bytes", std::string(95, 'x'), u"This is not a valid VLT container file.", false});
    // One byte short of the smallest container: both signatures right, the frame no longer fits.
    test::RawContainer smallest;
    Vault one;
    one.Groups.append(Group{1, 1, u"", 0});
    smallest.addVault(one);
    std::string short123 = smallest.text();
    short123.erase(kHeaderSize + 8, 1);
    EXPECT_EQ(short123.size(), 123u);
    cases.push_back({"123 bytes", short123, kNotValid, false});
    std::string badStart = goodText;
    badStart[3] = '3';
    cases.push_back({"bad start", badStart, u"This is not a valid VLT container file.", false});
    cases.push_back({"truncated", goodText.substr(0, goodText.size() - 1),
                     u"This is a valid VLT container file, but it seems to be truncated, the "
                     u"ending signature is missing.",
                     false});
    std::string flippedCipher = goodText;
    flippedCipher[kHeaderSize + 8 + 3] ^= 0x01;
    cases.push_back({"flipped ciphertext", flippedCipher, kWrongPassword, true});
    std::string flippedCrc = goodText;
    flippedCrc[goodText.size() - 10] ^= 0x80;
    cases.push_back({"flipped checksum", flippedCrc, kWrongPassword, true});
    // Frame and header shapes are the codec's to check; these show the open refuses them.
    for (std::int32_t declared : {15, 0x7FFFFFF0}) {
        test::RawContainer bad = good;
        bad.frames[2].declaredSize = declared;
        cases.push_back({"frame size " + std::to_string(declared), bad.text(), kNotValid, false});
    }
    // No group: nothing would be decrypted, so any password would open it.
    cases.push_back({"no records", test::RawContainer().text(), kNotValid, false});
    test::RawContainer entriesOnly;
    Vault noGroup = test::SampleVault({});
    noGroup.Groups.clear();
    entriesOnly.addVault(noGroup);
    cases.push_back({"entries without a group", entriesOnly.text(), kNotValid, false});
    std::string endlessKey = goodText;
    putInt32(reinterpret_cast<std::uint8_t*>(endlessKey.data()) + 20, 0x7FFFFFFF);
    cases.push_back({"rounds", endlessKey, kNotValid, false});
    // Bodies whose checksum is right but whose lengths lie.
    test::RawContainer longName = good;
    putInt32(&longName.frames[0].body[12], 2000);
    cases.push_back({"name length", longName.text(), kNotValid, true});
    test::RawContainer hugeAttachment = good;
    auto& attachmentBody = hugeAttachment.frames.back().body;
    putInt32(&attachmentBody[8], 0x7FFFFFFF);
    cases.push_back({"attachment size", hugeAttachment.text(), kNotValid, true});

    return cases;
}

}  // namespace vlt
