// The previewer's mode test and RTF reader, and the text document made from what it read.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <random>
#include <string>

#include "PreviewMode.h"
#include "RtfDocument.h"
#include "RtfTextDocument.h"

namespace vlt::peekpane {
namespace {

std::u16string u16(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

PreviewMode modeOf(std::string_view bytes) {
    return DetectPreviewMode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(PreviewMode, RtfNeedsTheHeaderAndABraceInTheLastFiveBytes) {
    using namespace std::string_view_literals;
    EXPECT_EQ(modeOf("{\\rtf1 x}\r\n\0"sv), RtfMode);
    EXPECT_EQ(modeOf("{\\rtf1 x}1234"sv), RtfMode);
    EXPECT_EQ(modeOf("{\\rtf1 x}12345"sv), TextMode);
    EXPECT_EQ(modeOf("{\\RTF1 x}"sv), TextMode);
    EXPECT_EQ(modeOf("{\\rtf"sv), TextMode);
    EXPECT_EQ(modeOf("{\\rt"sv), TextMode);
    EXPECT_EQ(DetectPreviewMode(nullptr, 10), TextMode);
    EXPECT_EQ(std::u16string(PreviewTitle(RtfMode)), u"Preview Text Plugin (VLT)  - RTF Mode");
}

const char* const kSample =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern Courier "
    "New;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\*\\generator Writer 1.0;}{\\info{\\title Secret title}}\r\n"
    "\\f0\\fs20 Plain {\\b bold} {\\i italic\\cf1  red}\\par\r\n"
    "\\f1\\fs28 Caf\\'e9 caf\\u233?\\u-10179?\\u-8704?{\\*\\unknown hidden}"
    "{\\uc2\\u8364\\'80\\'80}\\~\\{\\}\\\\\\line end\\par\r\n"
    "\\plain\\ul under\\ulnone  \\strike gone\\strike0\\par}\r\n";

TEST(RtfReader, RunsTablesEscapesAndSkippedDestinations) {
    const RtfDocument doc = ReadRtf(u16(kSample));
    ASSERT_EQ(doc.fonts.size(), 2u);
    EXPECT_EQ(doc.fonts.at(0), u"Arial");
    EXPECT_EQ(doc.fonts.at(1), u"Courier New");
    ASSERT_EQ(doc.colors.size(), 3u);
    EXPECT_TRUE(doc.colors[0].automatic);
    EXPECT_FALSE(doc.colors[1].automatic);
    EXPECT_EQ(doc.colors[1].red, 255);
    EXPECT_EQ(doc.colors[2].blue, 255);
    EXPECT_EQ(doc.colors[2].red, 0);

    ASSERT_EQ(doc.paragraphs.size(), 4u);
    const std::vector<RtfRun>& first = doc.paragraphs[0].runs;
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[0].text, u"Plain ");
    EXPECT_EQ(first[0].format.font, 0);
    EXPECT_EQ(first[0].format.halfPoints, 20);
    EXPECT_EQ(first[1].text, u"bold");
    EXPECT_TRUE(first[1].format.bold);
    EXPECT_EQ(first[2].text, u" ");
    EXPECT_FALSE(first[2].format.bold);
    EXPECT_EQ(first[3].text, u"italic");
    EXPECT_TRUE(first[3].format.italic);
    EXPECT_EQ(first[4].text, u" red");
    EXPECT_EQ(first[4].format.color, 1);

    const std::vector<RtfRun>& second = doc.paragraphs[1].runs;
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].format.font, 1);
    EXPECT_EQ(second[0].format.halfPoints, 28);
    // \'e9 and \u233? are both é; a surrogate pair; the euro sign with two fallback bytes
    // skipped; no generator, title or unknown destination.
    EXPECT_EQ(second[0].text, u"Caf\u00E9 caf\u00E9\U0001F600\u20AC\u00A0{}\\\u2028end");

    const std::vector<RtfRun>& third = doc.paragraphs[2].runs;
    ASSERT_EQ(third.size(), 3u);
    EXPECT_EQ(third[0].text, u"under");
    EXPECT_TRUE(third[0].format.underline);
    EXPECT_EQ(third[0].format.font, 0);  // \plain returns to the default font
    EXPECT_EQ(third[1].text, u" ");
    EXPECT_EQ(third[2].text, u"gone");
    EXPECT_TRUE(third[2].format.strike);
    EXPECT_TRUE(doc.paragraphs[3].runs.empty());

    // Windows-1252, not Latin-1, for 0x80..0x9F.
    EXPECT_EQ(ReadRtf(u"{\\rtf1 \\'80\\'93\\'ff}").paragraphs[0].runs[0].text,
              u"\u20AC\u201C\u00FF");
}

TEST(RtfReader, DamagedInputIsReadAsFarAsItGoes) {
    // Stray closing braces, a missing end, a group opened past the depth limit.
    RtfDocument doc = ReadRtf(u"}}}{\\rtf1 {\\b x");
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    EXPECT_TRUE(doc.paragraphs[0].runs[0].format.bold);

    const std::u16string deep = u"{\\rtf1 " + std::u16string(20'000, u'{') + u"\\b deep" +
                                std::u16string(20'000, u'}') + u" after}";
    doc = ReadRtf(deep);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
    EXPECT_EQ(doc.paragraphs[0].runs[0].text, u"deep");
    EXPECT_TRUE(doc.paragraphs[0].runs[0].format.bold);
    EXPECT_EQ(doc.paragraphs[0].runs[1].text, u" after");
    EXPECT_FALSE(doc.paragraphs[0].runs[1].format.bold);

    // Numbers beyond every range, a cut-off escape, binary data that holds braces.
    doc = ReadRtf(u"{\\rtf1 \\fs99999999999999999999 \\cf-7 \\uc-3 a\\bin5 {}{}x b\\'");
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(doc.paragraphs[0].runs[0].text, u"a b");
    EXPECT_EQ(doc.paragraphs[0].runs[0].format.halfPoints, 3276);
    EXPECT_EQ(doc.paragraphs[0].runs[0].format.color, 0);

    std::mt19937 random(17);
    for (int i = 0; i < 3000; ++i) {
        std::u16string junk(random() % 200, u' ');
        for (char16_t& c : junk) {
            c = static_cast<char16_t>(u"{}\\'*uc0123456789abfx;- \r\n"[random() % 26]);
        }
        EXPECT_FALSE(ReadRtf(u"{\\rtf1" + junk).paragraphs.empty());
    }
}

TEST(RtfReader, TextDocumentCarriesTheFormats) {
    QTextDocument document;
    FillTextDocument(document, ReadRtf(u16(kSample)), QFont(QStringLiteral("Lucida Console")));
    ASSERT_EQ(document.blockCount(), 4);
    const QString plain = document.toPlainText();
    auto formatAt = [&document, &plain](const QString& word) {
        QTextCursor cursor(&document);
        cursor.setPosition(static_cast<int>(plain.indexOf(word)) + 1);
        return cursor.charFormat();
    };
    EXPECT_EQ(formatAt(QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(QStringLiteral("Plain")).fontWeight(), QFont::Normal);
    EXPECT_TRUE(formatAt(QStringLiteral("italic")).fontItalic());
    EXPECT_EQ(formatAt(QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(QStringLiteral("Caf")).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Courier New")});
    EXPECT_DOUBLE_EQ(formatAt(QStringLiteral("Caf")).fontPointSize(), 14.0);
    EXPECT_TRUE(formatAt(QStringLiteral("gone")).fontStrikeOut());
    EXPECT_TRUE(formatAt(QStringLiteral("under")).fontUnderline());
}

}  // namespace
}  // namespace vlt::peekpane
